#include "output/word_handoff.h"

#include "platform/document_automation.h"
#include "platform/launcher.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace output {

QStringList templateFolders()
{
    QStringList folders;
    const QString libreOffice = platform::wordProcessorTemplateFolder();
    if (!libreOffice.isEmpty())
        folders.append(libreOffice);
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::TemplatesLocation);
    if (!desktop.isEmpty())
        folders.append(desktop);
    folders.append(QDir::currentPath());
    return folders;
}

QString findTemplate(const QStringList& folders)
{
    const QStringList pattern{QString::fromLatin1(kWordTemplate)};
    for (const QString& folder : folders) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        // QDir's name filters ignore case unless told otherwise.
        const QStringList hits = dir.entryList(pattern, QDir::Files | QDir::Readable, QDir::Name);
        if (!hits.isEmpty())
            return QFileInfo(dir, hits.first()).absoluteFilePath();
    }
    return {};
}

QStringList wordProcessorArguments(const QString& templatePath)
{
    if (templatePath.isEmpty())
        return {};
    // "-n" is LibreOffice's "new document from this template"; the new document's
    // window comes to the front by itself. The path in the system's own separators.
    return {QStringLiteral("-n"), QDir::toNativeSeparators(templatePath)};
}

void handOffToWordProcessor(platform::Launcher& launcher, const QStringList& folders)
{
    if (launcher.openWordDocument(QString::fromLatin1(kWordTemplate)))
        return;
    QString program = launcher.findExecutable(QStringLiteral("soffice"));
    if (program.isEmpty())
        program = launcher.findExecutable(QStringLiteral("libreoffice"));
    if (program.isEmpty())
        return;
    // A failed start is skipped like every other step of this command: no message.
    (void)launcher.startDetached(program, wordProcessorArguments(findTemplate(folders)));
}

} // namespace output
