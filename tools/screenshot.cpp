// Renders the calculator window, menu bar included, into a PNG for the documentation:
//   zelm_screenshot docs/main-window.png
// Runs with scripted services, so nothing it does can reach the desktop.

#include "app/application.h"
#include "tests/support/scripted_platform.h"
#include "ui/main_window/frm_zelm.h"

#include <QApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    app::configure(application);
    const QStringList args = QApplication::arguments();
    const QString out = args.size() > 1 ? args.at(1) : QStringLiteral("main-window.png");

    testing_support::ScriptedPlatform platform;
    ui::FrmZelm window(platform.services());
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(out)) {
        std::fprintf(stderr, "zelm_screenshot: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
