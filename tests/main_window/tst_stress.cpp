// Thousands of random user events against the real calculator window, from a fixed seed,
// every dialog and message box answered by the scripted platform. After each event the
// window must still keep its promises: the combo lists stay as they are, the result
// changes only through a calculation that succeeded, a field left by the focus is in
// normal form, every fault is reported once, and nothing ends the process unasked.
//
// ZELM_STRESS_SEED and ZELM_STRESS_EVENTS replace the seed and the number of events.

#include "calc/discharge.h"
#include "calc/number_text.h"
#include "output/report.h"
#include "tests/support/scripted_platform.h"
#include "ui/main_window/frm_zelm.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <random>

using platform::Answer;
using platform::Buttons;
using testing_support::ScriptedPlatform;
using ui::FrmZelm;

namespace {

// The headless platform warns at every raise and keyboard grab it cannot do; thousands
// of those would bury the test's own output.
QtMessageHandler testLog = nullptr;
void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith(QLatin1String("This plugin does not support")))
        testLog(type, context, text);
}

// The texts the invariants watch, in this order; 1 to 4 are rewritten on leaving.
const char* const kFields[] = {"Text1", "Text2", "Text3", "Text4", "Text6", "Text7", "Combo1", "Combo2"};
const QStringList kStart{"", "", "", "", "", "500", "0.50", "1.00"};
const QStringList kLists{"0.75", "0.50", "...", "1.50", "1.25", "1.00", "0.80", "0.50", "0.35"};

// What a user types in one go: single keys of every kind, and whole numbers near the
// edges (beyond the double range, the largest and smallest doubles, 16-bit hexadecimal).
const QStringList kTyped{
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "1", "5", ".", ".", ",", "-", "+", "e", "E", "d",
    "&", "H", "O", "F", " ", "м", "Ж", "ё", "...", "…", "😀", "12,5", "1e3", "16", "1000000", "100",
    "1e400", "-1E+308", "&HFFFF", "&O777", "&H1FFFFFFFF", "1 000", "1.79769313486231E+308",
    "4.94065645841247E-324", "0.0001", "999999999999999", QString(400, '9'), "0." + QString(330, '0') + "1",
};

// Keys pressed wherever the focus is; a key listed twice comes twice as often.
constexpr auto kCtrl = Qt::ControlModifier;
const QKeyCombination kKeys[] = {
    Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End, Qt::Key_Left, Qt::Key_Right,
    Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, kCtrl | Qt::Key_A, kCtrl | Qt::Key_Z,
    kCtrl | Qt::Key_Y, kCtrl | Qt::Key_X, kCtrl | Qt::Key_C, kCtrl | Qt::Key_V, Qt::Key_Tab, Qt::Key_Tab,
    Qt::Key_Tab, Qt::ShiftModifier | Qt::Key_Backtab, Qt::ShiftModifier | Qt::Key_Backtab,
    Qt::Key_Return, Qt::Key_Return, Qt::KeypadModifier | Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Escape,
    Qt::AltModifier | Qt::Key_Down, Qt::Key_F4, kCtrl | Qt::Key_P, Qt::Key_F1, Qt::Key_F9,
};

// What Text1 must show after OK with these texts, or nothing when the calculation faults.
std::optional<QString> resultOf(const QStringList& t, const std::string& separator)
{
    double v[7];
    for (int i = 0; i < 7; ++i) {
        v[i] = calc::parseFieldNumber(t[i + 1].toStdString(), separator);
        if (!std::isfinite(v[i]))
            return std::nullopt; // a text beyond the double range is an overflow
    }
    const auto r = calc::computeDischarge({.W = v[0], .B = v[1], .H = v[2], .Q = v[3], .L = v[4],
                                           .k = v[5], .K = v[6]});
    if (!r)
        return std::nullopt;
    return QString::fromStdString(calc::formatResult(*r, separator));
}

// What the event itself makes the window do, beyond what the invariants follow anyway:
// a report for a save into a missing folder, an end for a file chosen in Open, ...
struct Expect {
    int reports = 0, endNow = 0;
    bool about = false, closes = false;
    QString savedFile;
};

} // namespace

class TestStress : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPlatform> platform_;
    std::unique_ptr<FrmZelm> window_;
    QTemporaryDir folder_;
    QRandomGenerator rng_;
    quint64 seed_ = 20261207;
    int events_ = 20000;
    QStringList recent_; // the last events, for the failure message
    QString failure_;
    int okClicks_ = 0, exitClicks_ = 0, aboutShown_ = 0;
    // What a run went through, so that a driver that stopped reaching the window shows.
    struct {
        int results = 0, faults = 0, rewrites = 0, questions = 0, lists = 0, restarts = 0;
    } tally_;
    QList<int> left_; // rewritten fields the focus left during the event, as kFields indexes
    QPointer<QWidget> lastFocus_; // the control of the window that had the focus last

    template <typename T = QWidget> T* control(const char* name) const
    {
        auto* w = window_->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    // Keys go where the user's keys go: to the widget with the focus.
    QWidget* target() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : window_.get();
    }
    // The first failure ends the run; the rest of the event's checks are moot.
    void verify(bool ok, const QString& what)
    {
        if (!ok && failure_.isEmpty())
            failure_ = what;
    }
    QStringList texts() const
    {
        QStringList t;
        for (const char* name : kFields) {
            auto* box = qobject_cast<QComboBox*>(control(name));
            t << (box ? box->currentText() : control<QLineEdit>(name)->text());
        }
        return t;
    }
    QStringList lists() const
    {
        QStringList l;
        for (auto* box : {control<QComboBox>("Combo1"), control<QComboBox>("Combo2")})
            for (int i = 0; i < box->count(); ++i)
                l << box->itemText(i);
        return l;
    }

    void openWindow()
    {
        window_ = std::make_unique<FrmZelm>(platform_->services());
        window_->show();
        verify(QTest::qWaitForWindowActive(window_.get()), "the window does not become active");
        connect(control<QPushButton>("OK"), &QPushButton::clicked, this, [this] { ++okClicks_; });
        connect(control<QPushButton>("Command2"), &QPushButton::clicked, this, [this] { ++exitClicks_; });
    }

    // A field is left when another control of the window takes the focus; a menu, a list
    // or a dialog holding the focus meanwhile does not count.
    void focusMoved(QWidget* /*from*/, QWidget* to)
    {
        if (!window_ || !to || !window_->centralWidget()->isAncestorOf(to))
            return;
        for (int i = 1; i <= 4; ++i)
            if (lastFocus_ == control(kFields[i]) && to != lastFocus_)
                left_ << i;
        lastFocus_ = to;
    }

    void type(const QString& text)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            if (ch.unicode() < 0x80) {
                QTest::keyClick(target(), char(ch.unicode()));
                continue;
            }
            // A letter beyond ASCII has no key code of its own; an emoji is two UTF-16 units.
            const QString one = ch.isHighSurrogate() ? text.mid(i++, 2) : QString(ch);
            QTest::sendKeyEvent(QTest::Click, target(), Qt::Key(one.toUpper().toUcs4().value(0)), one,
                                Qt::NoModifier);
        }
    }

    // The About dialog runs its own loop; it is answered from there. The window's own keys
    // pressed meanwhile must not reach it, then Enter or Esc closes the dialog.
    void closeAboutSoon()
    {
        QTimer::singleShot(0, window_.get(), [this] {
            QPointer<QWidget> modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            ++aboutShown_;
            const auto key = [&modal](QKeyCombination k) {
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus && modal->isAncestorOf(focus) ? focus : modal.data(), k.key(),
                                k.keyboardModifiers());
            };
            const auto asked = platform_->dialogs.requests.size() + platform_->messages.shown.size();
            const QKeyCombination windowKeys[] = {Qt::Key_Tab, Qt::Key_F1, Qt::Key_F9, kCtrl | Qt::Key_O,
                                                  kCtrl | Qt::Key_S, kCtrl | Qt::Key_F};
            for (int n = int(rng_.bounded(3)); n > 0; --n)
                key(windowKeys[rng_.bounded(int(std::size(windowKeys)))]);
            verify(modal && modal->isVisible() && window_->isVisible()
                       && platform_->dialogs.requests.size() + platform_->messages.shown.size() == asked,
                   "a key of the main window worked while the About dialog was open");
            if (modal)
                key(rng_.bounded(2) ? Qt::Key_Return : Qt::Key_Escape);
            if (modal && modal->isVisible()) {
                verify(false, "the About dialog stays open after Enter or Esc");
                modal->close();
            }
        });
    }

    // An open drop-down list or menu takes the keys until an entry is chosen or it is left;
    // Enter and Esc there never reach OK or Command2. A chosen menu item runs its command
    // with every dialog cancelled.
    void answerPopups(Expect& e, QString& what)
    {
        const int ok = okClicks_, exit = exitClicks_;
        for (int round = 0; round < 4 && QApplication::activePopupWidget(); ++round) {
            QWidget* popup = QApplication::activePopupWidget();
            auto* menu = qobject_cast<QMenu*>(popup);
            QWidget* keys = menu ? popup : popup->findChild<QAbstractItemView*>();
            if (!keys) {
                verify(false, "an unknown popup " + popup->objectName());
                popup->close();
                break;
            }
            for (int n = int(rng_.bounded(5)); n > 0; --n)
                QTest::keyClick(keys, rng_.bounded(3) ? Qt::Key_Down : Qt::Key_Up);
            QAction* chosen = menu ? menu->activeAction() : nullptr;
            const bool pick = rng_.bounded(3) != 0 && (!menu || chosen);
            if (pick && chosen) {
                e.closes |= chosen->objectName() == "MnuFileCancel";
                if (chosen->objectName() == "mnuHelpAbout") {
                    e.about = true;
                    closeAboutSoon();
                }
            }
            QTest::keyClick(keys, pick ? Qt::Key_Return : Qt::Key_Escape);
            const QString entry = chosen ? chosen->objectName() : QStringLiteral("item");
            what += QStringLiteral(", %1 %2").arg(menu ? "menu" : "list", pick ? "→ " + entry : "left");
            ++tally_.lists;
        }
        verify(okClicks_ == ok && exitClicks_ == exit, "Enter or Esc in a list or menu reached the window");
    }

    Expect act(QString& what)
    {
        Expect e;
        auto& dialogs = platform_->dialogs;
        const auto press = [&](QKeyCombination k) {
            e.closes = k.key() == Qt::Key_F9;
            if ((e.about = k.key() == Qt::Key_F1))
                closeAboutSoon();
            QTest::keyClick(target(), k.key(), k.keyboardModifiers());
            what += QKeySequence(k).toString();
        };
        const int pick = int(rng_.bounded(100));
        if (pick < 27) {
            const QString typed = kTyped[rng_.bounded(int(kTyped.size()))];
            type(typed);
            what = "type «" + typed + "»";
        } else if (pick < 66) {
            press(kKeys[rng_.bounded(int(std::size(kKeys)))]);
        } else if (pick < 76) {
            // Anywhere on any control, the arrow of a combo box included, or on the bare window.
            QWidget* client = window_->centralWidget();
            const auto all = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly) << client;
            QWidget* w = all[rng_.bounded(int(all.size()))];
            const QPoint at(int(rng_.bounded(w->width())), int(rng_.bounded(w->height())));
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at);
            what = QStringLiteral("click %1 at %2,%3").arg(w->objectName()).arg(at.x()).arg(at.y());
        } else if (pick < 79) {
            // The context menu of the control with the focus: cut and paste by the mouse.
            const QPoint at = target()->rect().center();
            QContextMenuEvent menu(QContextMenuEvent::Mouse, at, target()->mapToGlobal(at));
            QApplication::sendEvent(target(), &menu);
            what = "context menu";
        } else if (pick < 82) {
            if ((e.endNow = int(rng_.bounded(2))))
                dialogs.fileAnswers << folder_.filePath("any.dat");
            what = e.endNow ? "a file, " : "cancel, ";
            press(kCtrl | Qt::Key_O);
        } else if (pick < 86) {
            // Cancel, a new or the same file again, or a folder that does not exist.
            const QString name = QStringList{"", "report.txt", "отчёт.txt", "no such/report.txt"}
                                     .at(rng_.bounded(4));
            if (!name.isEmpty())
                dialogs.fileAnswers << folder_.filePath(name);
            e.reports = name.startsWith("no such");
            if (!name.isEmpty() && !e.reports)
                e.savedFile = folder_.filePath(name);
            what = (name.isEmpty() ? "cancel" : name) + ", ";
            press(kCtrl | Qt::Key_S);
        } else if (pick < 89) {
            const QColor colour = QColor::fromRgb(rng_.generate() & 0xFFFFFF);
            if (rng_.bounded(3))
                dialogs.colorAnswers << colour;
            what = (dialogs.colorAnswers.isEmpty() ? QStringLiteral("cancel") : colour.name()) + ", ";
            press(kCtrl | Qt::Key_F);
        } else if (pick < 92) {
            QFont font(rng_.bounded(2) ? "Liberation Sans" : "DejaVu Sans");
            font.setPointSizeF(std::array{6.0, 8.25, 9.75, 12.0, 20.0, 36.0}[rng_.bounded(6u)]);
            font.setBold(rng_.bounded(2));
            if (rng_.bounded(3))
                dialogs.fontAnswers << font;
            what = "MnuFont " + (dialogs.fontAnswers.isEmpty() ? QStringLiteral("cancel") : font.toString());
            control<QAction>("MnuFont")->trigger();
        } else if (pick < 94) {
            what = QStringList{"mnuHelpSearch", "mnuWindowCascade", "mnuWindowTileHorizontal",
                               "mnuWindowTileVertical", "mnuWindowArrangeIcons"}.at(rng_.bounded(5));
            control<QAction>(what.toLatin1())->trigger();
        } else {
            // A menu of the bar, opened by the mouse or by its access key where it has one.
            QMenuBar* bar = window_->menuBar();
            QAction* menu = bar->actions().at(rng_.bounded(int(bar->actions().size())));
            const QKeySequence access = QKeySequence::mnemonic(menu->text());
            if (access.isEmpty() || rng_.bounded(2)) {
                QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->actionGeometry(menu).center());
                what = "click menu " + menu->text();
            } else {
                QTest::sendKeyEvent(QTest::Click, target(), access[0].key(), QString(),
                                    access[0].keyboardModifiers());
                what = access.toString();
            }
        }
        return e;
    }

    void step(int index)
    {
        const QStringList before = texts();
        const qsizetype shownBefore = platform_->messages.shown.size();
        const int endNowBefore = platform_->process.endNowCalls;
        const int aboutBefore = aboutShown_;
        okClicks_ = exitClicks_ = 0;
        left_.clear();
        const Answer answer = rng_.bounded(2) ? Answer::Yes : Answer::No;
        platform_->messages.answers.clear();
        platform_->messages.answers.enqueue(answer); // for the first box of the event
        QString what;
        const QString focus = target()->objectName().isEmpty() ? target()->metaObject()->className()
                                                               : target()->objectName();
        Expect expect = act(what);
        answerPopups(expect, what);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // A desktop's window manager gives the activation back when the About dialog or a
        // drop-down list closes; the headless platform leaves that to us. (A tool window
        // calls itself active regardless, so the application is asked.)
        const auto active = [this] { return QApplication::activeWindow() == window_.get(); };
        if (window_->isVisible() && !active()) {
            window_->activateWindow();
            verify(QTest::qWaitFor(active), "the window cannot be activated again");
        }
        recent_ << QStringLiteral("#%1 in %2: %3").arg(index).arg(focus, what);
        if (recent_.size() > 20)
            recent_.removeFirst();
        auto& d = platform_->dialogs;
        verify(d.fileAnswers.isEmpty() && d.colorAnswers.isEmpty() && d.fontAnswers.isEmpty(),
               "a dialog the event should have shown was not shown");
        d.fileAnswers.clear(), d.colorAnswers.clear(), d.fontAnswers.clear();
        verify(aboutShown_ - aboutBefore == int(expect.about), "F1 did not show the About dialog");

        if (expect.closes) {
            ++tally_.restarts;
            verify(!window_->isVisible(), "F9 left the window open");
            window_.reset(); // and start again, as the program would
            openWindow();
            verify(texts() == kStart, "a new window starts with " + texts().join('|'));
            verify(QApplication::focusWidget() == control("Text1"), "a new window has the focus elsewhere");
            return;
        }
        verify(window_->isVisible(), "the window disappeared");
        verify(!QApplication::activeModalWidget() && !QApplication::activePopupWidget(),
               "a dialog or drop-down list stays open");
        verify(lists() == kLists, "the combo boxes list " + lists().join('|'));
        verify(control<QLineEdit>("Text1")->palette().color(QPalette::Text) == QColor(Qt::red),
               "the result is no longer red");

        const QStringList after = texts();
        const std::string separator = QLocale().decimalPoint().toStdString();
        int faults = expect.reports;
        tally_.rewrites += int(left_.size());
        for (int i : left_) {
            const double value = calc::parseFieldNumber(before[i].toStdString(), separator);
            if (!std::isfinite(value)) { // reported as an overflow; the text stays
                ++faults;
                verify(after[i] == before[i], QStringLiteral("%1 «%2» changed after an overflow")
                                                  .arg(kFields[i], before[i]));
                continue;
            }
            const QString normal = QString::fromStdString(calc::formatNumber(value, separator));
            verify(after[i] == normal, QStringLiteral("%1 «%2» became «%3», not «%4»")
                                           .arg(kFields[i], before[i], after[i], normal));
            // The normal form reads back as itself, with a decimal point or a comma.
            const auto again =
                calc::formatNumber(calc::parseFieldNumber(normal.toStdString(), separator), separator);
            verify(QString::fromStdString(again) == normal,
                   QStringLiteral("%1 «%2» reads back as «%3»").arg(kFields[i], normal, again.c_str()));
        }

        if (okClicks_ > 0) {
            const auto result = resultOf(after, separator);
            tally_.results += result.has_value();
            if (!result)
                faults += okClicks_;
            verify(after[0] == result.value_or(before[0]),
                   QStringLiteral("Text1 shows «%1» after OK on %2, expected «%3»")
                       .arg(after[0], after.join('|'), result.value_or(before[0])));
        } else {
            verify(after[0] == before[0], "Text1 changed without a calculation: «" + after[0] + "»");
        }

        const auto added = platform_->messages.shown.mid(shownBefore);
        int questions = 0, reports = 0;
        QStringList shown;
        for (const auto& box : added) {
            questions += box.buttons == Buttons::YesNo && box.icon == platform::Icon::Question;
            reports += box.buttons == Buttons::Ok && box.icon == platform::Icon::Critical;
            shown << box.text;
        }
        verify(questions == exitClicks_ && reports == faults && added.size() == questions + reports,
               QStringLiteral("expected %1 exit questions and %2 error reports, got: %3")
                   .arg(exitClicks_).arg(faults).arg(shown.join(" / ")));
        tally_.faults += reports;
        tally_.questions += questions;
        const bool yes = !added.isEmpty() && added.first().buttons == Buttons::YesNo && answer == Answer::Yes;
        verify(platform_->process.endNowCalls - endNowBefore == expect.endNow + int(yes),
               "the program was ended, or not, against the answers");

        if (!expect.savedFile.isEmpty()) {
            QFile file(expect.savedFile);
            const QByteArray report = output::reportBytes(control<QLabel>("Label8")->text(), after[1],
                                                          control<QLabel>("Label1")->text());
            verify(file.open(QIODevice::ReadOnly) && file.readAll() == report,
                   "the report file does not hold the report: " + expect.savedFile);
        }
    }

private slots:
    void initTestCase()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        testLog = qInstallMessageHandler(dropPlatformNoise);
        QVERIFY(folder_.isValid());
        bool ok = false;
        if (const quint64 seed = qEnvironmentVariable("ZELM_STRESS_SEED").toULongLong(&ok); ok)
            seed_ = seed;
        if (const int events = qEnvironmentVariableIntValue("ZELM_STRESS_EVENTS", &ok); ok && events > 0)
            events_ = events;
        qInfo("seed %llu, %d events (ZELM_STRESS_SEED, ZELM_STRESS_EVENTS)", seed_, events_);
    }

    void randomEvents_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("share"); // of the events, in per cent
        QTest::addRow("decimal point") << QLocale::c() << 100;
        QTest::addRow("decimal comma") << QLocale(QLocale::Russian, QLocale::Russia) << 25;
    }

    void randomEvents()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, share);
        QLocale::setDefault(locale);
        std::seed_seq stream{quint32(seed_), quint32(seed_ >> 32), quint32(share)}; // one per row
        rng_.seed(stream);
        recent_.clear();
        tally_ = {};
        failure_.clear();
        platform_ = std::make_unique<ScriptedPlatform>();
        const auto watch = connect(qApp, &QApplication::focusChanged, this, &TestStress::focusMoved);
        openWindow();
        const int events = std::max(1, events_ * share / 100);
        int index = 0;
        for (; index < events && failure_.isEmpty(); ++index)
            step(index);
        disconnect(watch);
        const auto& t = tally_;
        qInfo("%d results, %d error reports, %d fields left, %d exit questions, %d lists, %d restarts",
              t.results, t.faults, t.rewrites, t.questions, t.lists, t.restarts);
        window_.reset();
        platform_.reset();
        QLocale::setDefault(QLocale::c());
        if (!failure_.isEmpty())
            QFAIL(qPrintable(QStringLiteral("seed %1, event #%2: %3\nlast events:\n  %4")
                                 .arg(seed_).arg(index - 1).arg(failure_, recent_.join("\n  "))));
        if (events >= 1000) // far more than any of these needs to come up once
            QVERIFY(t.results && t.faults && t.rewrites && t.questions && t.lists && t.restarts);
    }
};

QTEST_MAIN(TestStress)
#include "tst_stress.moc"
