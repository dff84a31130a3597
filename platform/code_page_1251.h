#pragma once
// The Cyrillic single-byte code page 1251, the one the report file and the help call
// use. Qt 6.4 offers no converter for it, so the table is our own.

#include <QByteArray>
#include <QString>

namespace platform {

// One byte per character. A character the code page lacks becomes "?", one per
// character (a surrogate pair is one character), as the classic conversion did.
QByteArray toCp1251(const QString& text);

// The byte 0x98, unassigned in the code page, reads as U+FFFD.
QString fromCp1251(const QByteArray& bytes);

} // namespace platform
