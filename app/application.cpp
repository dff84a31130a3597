#include "app/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

QString title()
{
    return QStringLiteral("Зельм");
}

QString helpFile()
{
    return {};
}

ui::ApplicationProperties properties()
{
    return {.title = title(), .major = kMajor, .minor = kMinor, .revision = kRevision,
            .helpFile = helpFile()};
}

void configure(QApplication& application)
{
    // The name only: a display name set here would be appended by Qt to every window's
    // title ("Зельм плотины — Зельм"). Message boxes without a title of their own take the
    // name.
    application.setApplicationName(title());
    application.setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(kMajor).arg(kMinor).arg(kRevision));

    installQtTranslations(application);
}

bool installQtTranslations(QApplication& application)
{
    // Qt's own buttons and dialogs speak Russian whatever the user's language; only the
    // decimal separator follows the user's locale. A build whose Qt has no translations
    // beside it (Qt for Windows, linked in) carries them inside the program.
    auto* qtbase = new QTranslator(&application);
    for (const QString& dir : {QStringLiteral(":/qt/translations"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (qtbase->load(QStringLiteral("qtbase_ru"), dir))
            return QCoreApplication::installTranslator(qtbase);
    }
    delete qtbase;
    return false;
}

} // namespace app
