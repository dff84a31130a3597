// The floor of the start-up benchmark: what any Qt 6 Widgets main window of zelm's size
// with a menu bar, the same kinds of controls and a JPEG photograph costs to start, with
// nothing of zelm's own.
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);

    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(QStringLiteral("Открыть..."));
    file->addAction(QStringLiteral("Сохранить как..."));
    file->addSeparator();
    file->addAction(QStringLiteral("Выход"));
    window.menuBar()->addMenu(QStringLiteral("Справка"))->addAction(QStringLiteral("О программе"));

    auto* central = new QWidget(&window);
    auto* grid = new QGridLayout(central);
    for (int row = 0; row < 4; ++row) {
        grid->addWidget(new QLabel(QStringLiteral("Поле %1").arg(row + 1), central), row, 0);
        grid->addWidget(new QLineEdit(central), row, 1);
    }
    for (int row = 4; row < 6; ++row) {
        auto* combo = new QComboBox(central);
        combo->setEditable(true);
        combo->addItems({QStringLiteral("0.75"), QStringLiteral("0.50")});
        grid->addWidget(combo, row, 1);
    }
    auto* photo = new QLabel(central);
    photo->setPixmap(QPixmap(QStringLiteral(":/photo.jpg")));
    grid->addWidget(photo, 0, 2, 6, 1);
    grid->addWidget(new QPushButton(QStringLiteral("OK"), central), 6, 0);
    grid->addWidget(new QPushButton(QStringLiteral("Выход"), central), 6, 1);
    window.setCentralWidget(central);
    window.resize(491, 365); // zelm's client area and menu bar
    window.show();
    return application.exec();
}
