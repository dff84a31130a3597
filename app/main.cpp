#include "app/application.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    app::configure(application);
    QMainWindow window; // replaced by the calculator window
    window.show();
    return application.exec();
}
