#pragma once
// The captions the report is made of, as the window shows them, and a file reader for
// comparing what was written.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testing_support {

inline const QString kReportTitle =
    QStringLiteral("Расход воды от зельма плотины для створа") + QString(19, QLatin1Char(' '));
inline const QString kVolumeCaption = QStringLiteral("Объём вод-ща (W), м.куб");

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace testing_support
