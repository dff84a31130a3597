#include "platform/document_automation.h"

#include "platform/windows/word_automation.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace platform {

bool automateWord(const QString& templateName)
{
    const std::wstring name = templateName.toStdWString();
    return windows::openWordDocument(name.c_str());
}

QString wordProcessorTemplateFolder()
{
    PWSTR roaming = nullptr;
    QString folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)))
        folder = QDir::fromNativeSeparators(QString::fromWCharArray(roaming))
                 + QStringLiteral("/LibreOffice/4/user/template");
    CoTaskMemFree(roaming); // also when the call failed, as documented
    return folder;
}

QString registeredProgram(const QString& name)
{
    const QString key = QStringLiteral("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\")
                        + name + QStringLiteral(".exe");
    // The user's own registration first, then the machine's, in the 64-bit view and then
    // the 32-bit one, where a 32-bit installer writes.
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        for (const QSettings::Format view : {QSettings::Registry64Format, QSettings::Registry32Format}) {
            const QSettings entry(QString::fromLatin1(root) + key, view);
            // The key's unnamed value is the program's full path, at times in quotes.
            QString path = entry.value(QStringLiteral("Default")).toString().trimmed();
            if (path.size() > 1 && path.startsWith(u'"') && path.endsWith(u'"'))
                path = path.mid(1, path.size() - 2);
            if (!path.isEmpty() && QFileInfo(path).isFile())
                return QDir::fromNativeSeparators(path);
        }
    }
    return {};
}

} // namespace platform
