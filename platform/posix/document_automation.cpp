#include "platform/document_automation.h"

#include <QStandardPaths>

namespace platform {

// Word has no automation on a Unix desktop; the hand-off goes to LibreOffice.
bool automateWord(const QString&)
{
    return false;
}

QString wordProcessorTemplateFolder()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/libreoffice/4/user/template");
}

// A program on a Unix system is found on PATH or not at all.
QString registeredProgram(const QString&)
{
    return {};
}

} // namespace platform
