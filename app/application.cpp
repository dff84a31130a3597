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

    // Qt's own buttons and dialogs speak Russian whatever the user's language; only the
    // decimal separator follows the user's locale.
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* qtbase = new QTranslator(&application);
    if (qtbase->load(QStringLiteral("qtbase_ru"), dir))
        QCoreApplication::installTranslator(qtbase);
}

} // namespace app
