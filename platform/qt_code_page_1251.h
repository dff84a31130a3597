#pragma once
// Qt's strings through the code page 1251 table of text/code_page_1251.h, which the
// window shares with zelm-calc: the report file and the help call hand it QStrings.

#include <QByteArray>
#include <QString>

namespace platform {

// One byte per character. A character the code page lacks becomes "?", one per
// character (a surrogate pair is one character), as the classic conversion did.
QByteArray toCp1251(const QString& text);

// The byte 0x98, unassigned in the code page, reads as U+FFFD.
QString fromCp1251(const QByteArray& bytes);

} // namespace platform
