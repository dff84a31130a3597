// The calculator window's commands as the user reaches them: keys, the exit button and
// menu items, with every dialog and message box answered by the scripted platform.

#include "tests/support/scripted_platform.h"
#include "ui/main_window/frm_zelm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using platform::Answer;
using testing_support::ScriptedDialogs;
using testing_support::ScriptedPlatform;

namespace {

const ui::ApplicationProperties kProperties{.title = QStringLiteral("Зельм"), .major = 1,
                                            .minor = 0, .revision = 1, .helpFile = {}};

// "Объём вод-ща (W), м.куб" in code page 1251, written out by hand.
const QByteArray kLabel1Cp1251 = QByteArray::fromHex("ceE1FAB8EC20e2eee42df9e0202857292c20ec2eeaf3e1");

} // namespace

class TestFrmZelmCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPlatform> platform_;
    std::unique_ptr<ui::FrmZelm> window_;

    template <typename T = QWidget> T* control(const char* name) const
    {
        auto* w = window_->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QLineEdit* text(const char* name) const { return control<QLineEdit>(name); }
    static void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(target, key, modifiers);
    }
    static void pressOnFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        press(QApplication::focusWidget(), key, modifiers);
    }
    void fillInputs()
    {
        text("Text2")->setText(QStringLiteral("1000000"));
        text("Text3")->setText(QStringLiteral("100"));
        text("Text4")->setText(QStringLiteral("16"));
        text("Text6")->setText(QStringLiteral("10"));
        text("Text1")->setText(QStringLiteral("1240.769"));
    }
    QStringList fieldTexts() const
    {
        QStringList texts;
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text6", "Text7"})
            texts << text(name)->text();
        texts << control<QComboBox>("Combo1")->currentText() << control<QComboBox>("Combo2")->currentText();
        return texts;
    }

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void init()
    {
        platform_ = std::make_unique<ScriptedPlatform>();
        window_ = std::make_unique<ui::FrmZelm>(platform_->services(), kProperties);
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup()
    {
        window_.reset();
        platform_.reset();
    }

    void exitQuestion_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("endNowCalls");
        QTest::addRow("Esc in a field, No") << "esc-field" << int(Answer::No) << 0;
        QTest::addRow("Esc in a field, Yes") << "esc-field" << int(Answer::Yes) << 1;
        QTest::addRow("Esc in a combo box, Yes") << "esc-combo" << int(Answer::Yes) << 1;
        QTest::addRow("click on Выход, No") << "click" << int(Answer::No) << 0;
        QTest::addRow("click on Выход, Yes") << "click" << int(Answer::Yes) << 1;
    }
    void exitQuestion()
    {
        QFETCH(QString, how);
        QFETCH(int, answer);
        QFETCH(int, endNowCalls);
        fillInputs();
        const QStringList before = fieldTexts();
        platform_->messages.answers.enqueue(Answer(answer));

        if (how == "esc-field")
            press(text("Text3"), Qt::Key_Escape);
        else if (how == "esc-combo")
            press(control<QComboBox>("Combo2")->lineEdit(), Qt::Key_Escape);
        else
            QTest::mouseClick(control("Command2"), Qt::LeftButton);

        QCOMPARE(platform_->messages.shown.size(), 1);
        const auto& box = platform_->messages.shown.first();
        QCOMPARE(box.text, QStringLiteral("Хотите выйти?\r\nA может подумаете?"));
        QCOMPARE(box.text.at(15), QChar(u'A')); // Latin, not Cyrillic
        QCOMPARE(box.buttons, platform::Buttons::YesNo);
        QCOMPARE(box.icon, platform::Icon::Question);
        QVERIFY(box.title.isEmpty()); // the application's title
        QCOMPARE(platform_->process.endNowCalls, endNowCalls);
        QCOMPARE(fieldTexts(), before);
        QVERIFY(window_->isVisible());
    }

    void closingAsksNothing_data()
    {
        QTest::addColumn<bool>("byF9");
        QTest::addRow("File → Выход (F9)") << true;
        QTest::addRow("close request of the window system") << false;
    }
    void closingAsksNothing()
    {
        QFETCH(bool, byF9);
        if (byF9)
            press(text("Text2"), Qt::Key_F9);
        else
            window_->close();
        QVERIFY(!window_->isVisible());
        QVERIFY(platform_->messages.shown.isEmpty());
        QCOMPARE(platform_->process.endNowCalls, 0);
    }

    void openEndsOnlyWhenAFileIsChosen_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<int>("endNowCalls");
        QTest::addRow("cancel") << std::optional<QString>() << 0;
        QTest::addRow("a file that does not exist")
            << std::optional<QString>(QStringLiteral("/nonexistent/отчёт.xyz")) << 1;
    }
    void openEndsOnlyWhenAFileIsChosen()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(int, endNowCalls);
        platform_->dialogs.fileAnswers.enqueue(answer);
        press(text("Text2"), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(platform_->dialogs.requests.size(), 1);
        const auto& request = platform_->dialogs.requests.first();
        QCOMPARE(request.kind, ScriptedDialogs::Kind::Open);
        QCOMPARE(request.title, QStringLiteral("Open"));
        QCOMPARE(request.parent, window_.get());
        QCOMPARE(platform_->process.endNowCalls, endNowCalls);
        QVERIFY(platform_->messages.shown.isEmpty());
    }

    // The report carries the field as the user left it, and CD keeps what the Open
    // command set: the save dialog is titled "Open" after it, as the shared object was.
    void saveWritesTheFieldAsShown()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("отчёт.txt"));
        QTest::keyClicks(text("Text2"), QStringLiteral("1 000 000"));
        text("Text2")->setFocus();
        pressOnFocus(Qt::Key_Tab); // leaving the field rewrites it
        QCOMPARE(text("Text2")->text(), QStringLiteral("1000000"));

        platform_->dialogs.fileAnswers.enqueue(std::nullopt); // Open, cancelled
        platform_->dialogs.fileAnswers.enqueue(path);         // Save
        pressOnFocus(Qt::Key_O, Qt::ControlModifier);
        pressOnFocus(Qt::Key_S, Qt::ControlModifier);

        QCOMPARE(platform_->dialogs.requests.size(), 2);
        const auto& save = platform_->dialogs.requests.at(1);
        QCOMPARE(save.kind, ScriptedDialogs::Kind::Save);
        QCOMPARE(save.title, QStringLiteral("Open"));
        QCOMPARE(save.filter, QStringLiteral("Textfiles (*.txt)"));
        QVERIFY(save.confirmOverwrite);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 4); // three lines, each ended by CR LF
        QCOMPARE(lines.at(0).size(), 40 + 19 + 1);
        QVERIFY(lines.at(0).endsWith(QByteArray(19, ' ') + '\r'));
        QCOMPARE(lines.at(1), QByteArray("\r"));
        QCOMPARE(lines.at(2), "1000000" + kLabel1Cp1251 + '\r');
        QVERIFY(lines.at(3).isEmpty());
        QVERIFY(platform_->messages.shown.isEmpty());
    }

    void failedSaveIsReportedAndKeepsTheWindow()
    {
        QTemporaryDir dir;
        fillInputs();
        const QStringList before = fieldTexts();
        text("Text4")->setFocus();
        platform_->dialogs.fileAnswers.enqueue(dir.path()); // a folder, not a file
        pressOnFocus(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(platform_->messages.shown.size(), 1);
        QVERIFY2(platform_->messages.shown.first().text.contains(QDir::toNativeSeparators(dir.path())),
                 qPrintable(platform_->messages.shown.first().text));
        QCOMPARE(fieldTexts(), before);
        QCOMPARE(QApplication::focusWidget(), text("Text4"));
    }

    void colourAndFontChangeOnlyOnAChoice_data()
    {
        QTest::addColumn<bool>("choose");
        QTest::addRow("chosen") << true;
        QTest::addRow("cancelled") << false;
    }
    void colourAndFontChangeOnlyOnAChoice()
    {
        QFETCH(bool, choose);
        QWidget* client = window_->centralWidget();
        const QColor green = client->palette().color(QPalette::Window);
        const QFont title = control<QLabel>("Label10")->font();
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPointSizeF(14);
        chosen.setBold(false);
        if (choose) {
            platform_->dialogs.colorAnswers.enqueue(QColor(0x12, 0x34, 0x56));
            platform_->dialogs.fontAnswers.enqueue(chosen);
        }
        press(text("Text2"), Qt::Key_F, Qt::ControlModifier);
        control<QAction>("MnuFont")->trigger();

        QCOMPARE(client->palette().color(QPalette::Window), choose ? QColor(0x12, 0x34, 0x56) : green);
        for (const char* name : {"Label8", "Label10"}) {
            const QFont f = control<QLabel>(name)->font();
            QCOMPARE(f.family(), choose ? chosen.family() : title.family());
            QCOMPARE(f.pointSizeF(), choose ? 14.0 : title.pointSizeF());
            QCOMPARE(f.bold(), !choose);
            QVERIFY(f.italic());
        }
        QCOMPARE(text("Text1")->palette().color(QPalette::Text), QColor(Qt::red));
        QVERIFY(platform_->messages.shown.isEmpty());
    }

    void helpSearchShowsTheViewersError()
    {
        platform_->help.error = QStringLiteral("Файл справки не найден.");
        const QStringList before = fieldTexts();
        control<QAction>("mnuHelpSearch")->trigger();
        QCOMPARE(platform_->help.calls.size(), 1);
        QCOMPARE(platform_->help.calls.first().window, window_.get());
        QCOMPARE(platform_->help.calls.first().command, 0x105u);
        QVERIFY(platform_->help.calls.first().helpFile.isEmpty());
        QCOMPARE(platform_->messages.shown.size(), 1);
        QCOMPARE(platform_->messages.shown.first().text, QStringLiteral("Файл справки не найден."));
        QCOMPARE(platform_->messages.shown.first().icon, platform::Icon::None);
        QCOMPARE(fieldTexts(), before);
    }

    void wordHandOffStartsTheWordProcessor()
    {
        platform_->launcher.find = [](const QString& name) {
            return name == "soffice" ? QStringLiteral("/opt/office/soffice") : QString();
        };
        press(text("Text2"), Qt::Key_P, Qt::ControlModifier);
        press(text("Text2"), Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(platform_->launcher.started.size(), 2); // one more document each time
        QCOMPARE(platform_->launcher.started.first().program, QStringLiteral("/opt/office/soffice"));
        for (const auto& start : platform_->launcher.started)
            QVERIFY(!start.arguments.join(' ').contains("1000000"));
        QVERIFY(platform_->messages.shown.isEmpty());
    }

    void aboutIsModalAndRebuiltEachTime()
    {
        QStringList captions;
        for (int i = 0; i < 2; ++i) {
            // The offscreen platform does not hand the activation back when a dialog closes.
            window_->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window_.get()));
            QPointer<QDialog> about;
            QTimer::singleShot(0, window_.get(), [&] {
                about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                if (!about)
                    return;
                captions << about->objectName() + '|' + about->windowTitle() + '|'
                        + about->findChild<QLabel*>("lblVersion")->text();
                QTest::keyClick(about, Qt::Key_Escape);
            });
            press(text("Text2"), Qt::Key_F1);
            QVERIFY(QTest::qWaitFor([&] { return about.isNull(); })); // destroyed when it closed
        }
        const QString expected = QStringLiteral("frmAb|О Программе Зельм|Версия 1.0.1");
        QCOMPARE(captions, QStringList({expected, expected}));
    }
};

QTEST_MAIN(TestFrmZelmCommands)
#include "tst_frm_zelm_commands.moc"
