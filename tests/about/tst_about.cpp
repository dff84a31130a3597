// The About dialog frmAb and the help search.

#include "platform/qt_backends.h"
#include "platform/qt_code_page_1251.h"
#include "tests/support/scripted_platform.h"
#include "ui/about/frm_ab.h"
#include "ui/about/help_search.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <QVBoxLayout>

using testing_support::ScriptedHelp;
using testing_support::ScriptedMessageBoxes;

namespace {

const ui::ApplicationProperties kZelm{QStringLiteral("Зельм"), 1, 0, 1};

// What a test saw of the dialog while its modal loop ran.
struct Seen {
    QPointer<ui::FrmAb> dialog;
    QString caption;
    bool modalOverOwner = false;
    bool ownerTookKey = false;
    QString focus; // objectName of the control with the focus
};

// Shows the About dialog over owner; while it runs, notes what it looks like, tries to type
// into ownerField, and then presses key on the dialog. Returns after the dialog closed.
Seen showAndPress(QWidget* owner, QLineEdit* ownerField, Qt::Key key)
{
    Seen seen;
    QTimer::singleShot(0, owner, [&] {
        auto* dialog = qobject_cast<ui::FrmAb*>(QApplication::activeModalWidget());
        seen.dialog = dialog;
        if (!dialog)
            return; // nothing to close; the caller's checks fail
        seen.caption = dialog->windowTitle();
        seen.modalOverOwner = dialog->isModal() && dialog->parentWidget() == owner;
        if (QWidget* focus = dialog->focusWidget())
            seen.focus = focus->objectName();
        if (ownerField) {
            const QString before = ownerField->text();
            QTest::keyClick(owner->windowHandle(), Qt::Key_X);
            seen.ownerTookKey = ownerField->text() != before;
        }
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(target, key);
        if (seen.dialog && seen.dialog->isVisible())
            seen.dialog->close(); // keeps a failing test from hanging in exec()
    });
    ui::showAbout(owner, kZelm);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return seen;
}

} // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void controlsStandWhereTheFormPutsThem_data();
    void controlsStandWhereTheFormPutsThem();
    void loadBuildsCaptionAndVersion_data();
    void loadBuildsCaptionAndVersion();
    void fixedTextsAndLogo();
    void modalAndDestroyedByOk_data();
    void modalAndDestroyedByOk();
    void reopeningRebuildsTheSameCaption();
    void helpSearchCall_data();
    void helpSearchCall();
    void helpSearchWithoutHelpFileShowsOneMessage();
};

void AboutTest::controlsStandWhereTheFormPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    // Twips of the form divided by 15.
    QTest::addRow("picIcon, sized to 118 x 45 and its border") << "picIcon" << QRect(8, 8, 122, 49);
    QTest::addRow("Label1") << "Label1" << QRect(144, 8, 153, 17);
    QTest::addRow("lblVersion") << "lblVersion" << QRect(144, 32, 259, 15);
    QTest::addRow("lblDescription") << "lblDescription" << QRect(70, 75, 259, 78);
    QTest::addRow("grey stroke of Line1") << "Line1_1" << QRect(6, 163, 372, 1);
    QTest::addRow("white stroke of Line1") << "Line1_0" << QRect(7, 164, 371, 2);
    QTest::addRow("lblDisclaimer") << "lblDisclaimer" << QRect(9, 175, 362, 15);
    QTest::addRow("cmdOK") << "cmdOK" << QRect(144, 200, 84, 23);
}

void AboutTest::controlsStandWhereTheFormPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    ui::FrmAb dialog(nullptr, kZelm);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    auto* control = dialog.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
    QCOMPARE(dialog.size(), QSize(382, 237));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}

void AboutTest::loadBuildsCaptionAndVersion_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("version");
    QTest::addRow("this release: revision 1 is not 0001") << 1 << 0 << 1 << "Версия 1.0.1";
    QTest::addRow("numbers of several digits") << 2 << 10 << 15 << "Версия 2.10.15";
}

void AboutTest::loadBuildsCaptionAndVersion()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, version);
    ui::FrmAb dialog(nullptr, {QStringLiteral("Зельм"), major, minor, revision});
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(dialog.objectName(), QStringLiteral("frmAb"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("О Программе Зельм"));
    QCOMPARE(dialog.findChild<QLabel*>("lblVersion")->text(), version);
}

void AboutTest::fixedTextsAndLogo()
{
    ui::FrmAb dialog(nullptr, kZelm);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    const QString series = dialog.findChild<QLabel*>("Label1")->text();
    QCOMPARE(series.size(), 16);
    QVERIFY(series.startsWith(QStringLiteral("Серия:")));
    QCOMPARE(dialog.findChild<QLabel*>("lblDescription")->text(),
             QStringLiteral("Программа предназначена для расчета расхода воды от зельма плотины "
                            "до места перехода и является составной частью программы \"Tarvel\"."));
    const QString notice = dialog.findChild<QLabel*>("lblDisclaimer")->text();
    QVERIFY(!notice.isEmpty() && !notice.contains(QLatin1Char('\n')));
    // One line: the notice fits the label's width in the dialog's font.
    QVERIFY(QFontMetrics(dialog.font()).horizontalAdvance(notice) <= 362);
    auto* ok = dialog.findChild<QPushButton*>("cmdOK");
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QVERIFY(ok->font().bold());
    QCOMPARE(ok->font().pointSizeF(), 9.75);

    QCOMPARE(dialog.findChild<QLabel*>("picIcon")->pixmap().size(), QSize(118, 45));
    QFile logo(QStringLiteral(":/about_logo.bmp"));
    QVERIFY(logo.open(QIODevice::ReadOnly));
    QCOMPARE(int(quint8(logo.read(30).at(28))), 24); // bits per pixel in the bitmap header
}

void AboutTest::modalAndDestroyedByOk_data()
{
    QTest::addColumn<int>("key");
    QTest::addRow("Enter presses OK") << int(Qt::Key_Return);
    QTest::addRow("Esc presses OK too") << int(Qt::Key_Escape);
    QTest::addRow("Space on the focused OK") << int(Qt::Key_Space);
}

void AboutTest::modalAndDestroyedByOk()
{
    QFETCH(int, key);
    QWidget owner;
    auto* field = new QLineEdit(&owner);
    new QVBoxLayout(&owner);
    owner.layout()->addWidget(field);
    owner.show();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    field->setFocus();
    // Keys reach the owner while no dialog is open, so the check below means something.
    QTest::keyClick(owner.windowHandle(), Qt::Key_Y);
    QCOMPARE(field->text(), QStringLiteral("y"));

    bool okClicked = false;
    QTimer::singleShot(0, &owner, [&] {
        if (auto* dialog = qobject_cast<ui::FrmAb*>(QApplication::activeModalWidget()))
            connect(dialog->findChild<QPushButton*>("cmdOK"), &QPushButton::clicked,
                    [&] { okClicked = true; });
    });
    const Seen seen = showAndPress(&owner, field, Qt::Key(key));

    QCOMPARE(seen.caption, QStringLiteral("О Программе Зельм"));
    QVERIFY(seen.modalOverOwner);
    QVERIFY2(!seen.ownerTookKey, "the owner took a key while the dialog was open");
    QCOMPARE(seen.focus, QStringLiteral("cmdOK"));
    QVERIFY(okClicked);
    QVERIFY2(seen.dialog.isNull(), "the dialog was not destroyed");
    QVERIFY(owner.findChildren<ui::FrmAb*>().isEmpty());
}

void AboutTest::reopeningRebuildsTheSameCaption()
{
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    const Seen first = showAndPress(&owner, nullptr, Qt::Key_Return);
    QVERIFY(first.dialog.isNull());
    const Seen second = showAndPress(&owner, nullptr, Qt::Key_Return);
    QVERIFY(second.dialog.isNull());
    QCOMPARE(first.caption, QStringLiteral("О Программе Зельм"));
    QCOMPARE(second.caption, first.caption);
}

void AboutTest::helpSearchCall_data()
{
    QTest::addColumn<QString>("helpFile");
    QTest::addColumn<QByteArray>("expectedFile");
    QTest::addColumn<QString>("error");
    QTest::addRow("no help file, viewer reports it")
        << QString() << QByteArray() << QStringLiteral("Файл справки не найден.");
    QTest::addRow("Cyrillic name goes in code page 1251")
        << QStringLiteral("Справка.hlp") << QByteArray("\xD1\xEF\xF0\xE0\xE2\xEA\xE0.hlp")
        << QString();
}

void AboutTest::helpSearchCall()
{
    QFETCH(QString, helpFile);
    QFETCH(QByteArray, expectedFile);
    QFETCH(QString, error);

    QWidget window;
    ScriptedHelp help;
    if (!error.isEmpty())
        help.error = error;
    ScriptedMessageBoxes messages;
    ui::helpSearch(help, messages, &window, helpFile);

    QCOMPARE(help.calls.size(), 1);
    const auto& call = help.calls.first();
    QCOMPARE(call.window, &window);
    QCOMPARE(call.helpFile, expectedFile);
    QCOMPARE(call.command, 0x105u);
    QVERIFY(call.keyword.isEmpty());

    if (error.isEmpty()) {
        QVERIFY(messages.shown.isEmpty());
        return;
    }
    QCOMPARE(messages.shown.size(), 1);
    const auto& box = messages.shown.first();
    QCOMPARE(box.text, error);
    QCOMPARE(box.buttons, platform::Buttons::Ok);
    QCOMPARE(box.icon, platform::Icon::None);
    QVERIFY(box.title.isEmpty()); // the application's title, "Зельм"
    QCOMPARE(box.parent, &window);
}

void AboutTest::helpSearchWithoutHelpFileShowsOneMessage()
{
    // The real viewer of this desktop, with the application's empty help-file name.
    QWidget window;
    platform::QtHelpViewer help;
    ScriptedMessageBoxes messages;
    ui::helpSearch(help, messages, &window, QString());

    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.shown.first().text.contains(QStringLiteral("не найден")),
             qPrintable(messages.shown.first().text));
    QCOMPARE(messages.shown.first().icon, platform::Icon::None);
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
