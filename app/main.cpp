#include "app/application.h"
#include "platform/qt_services.h"
#include "platform/window_system.h"
#include "ui/main_window/frm_zelm.h"

#include <QApplication>

#include <vector>

int main(int argc, char* argv[])
{
    std::vector<char*> arguments = platform::applicationArguments(argc, argv);
    int count = static_cast<int>(arguments.size()) - 1;
    QApplication application(count, arguments.data());
    app::configure(application);
    // The calculator window ends the run itself when it closes (it is a tool window, which
    // Qt does not count); no other window's closing may end it.
    QApplication::setQuitOnLastWindowClosed(false);

    platform::QtServices qt;
    ui::FrmZelm window(qt.services(), app::properties());
    window.show();
    return application.exec();
}
