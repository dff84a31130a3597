#pragma once
// The text report of File -> "Сохранить как...": the window's first title line, an empty
// line, and the volume field's text followed by its caption, each ended by CR LF, in the
// Cyrillic code page 1251. The caller hands in the texts; nothing here knows a widget.

#include <QByteArray>
#include <QString>

namespace output {

// The report's bytes. The texts are written exactly as given: the title keeps its
// trailing blanks, the volume is the field's text, not a number.
QByteArray reportBytes(const QString& titleLine, const QString& volumeText,
                       const QString& volumeCaption);

// Replaces fileName with bytes through a temporary file renamed over it, so a failed save
// leaves an existing file as it was. Throws platform::RunTimeError naming the file and the
// reason in Russian; nothing stays open afterwards.
void writeReport(const QString& fileName, const QByteArray& bytes);

} // namespace output
