// Settings → "Цвет окна" and "Шрифт Заголовка" on a stand-in window: a client area that
// carries the colour, two italic blue title labels, a red result field, a button and a
// picture-like control that fills its own background.

#include "platform/common_dialog.h"
#include "tests/support/scripted_platform.h"
#include "ui/main_window/appearance.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using testing_support::ScriptedDialogs;

namespace {

const QString kTitle1 = QStringLiteral("Расход воды от зельма плотины для створа")
                        + QString(19, QLatin1Char(' '));

QFont titleFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(12);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

struct Window {
    QWidget client;
    QLabel* label8 = new QLabel(kTitle1, &client);
    QLabel* label10 = new QLabel(QStringLiteral("перехода ниже плотины."), &client);
    QLineEdit* text1 = new QLineEdit(QStringLiteral("12.345"), &client);
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &client);
    QLabel* picture = new QLabel(&client);
    ScriptedDialogs dialogs;
    platform::CommonDialog cd{dialogs, &client};

    Window()
    {
        client.resize(640, 342); // wide enough for Label8 in the fixture's face
        client.setAutoFillBackground(true);
        QPalette green = client.palette();
        green.setColor(QPalette::Window, Qt::green);
        client.setPalette(green);
        for (QLabel* title : {label8, label10}) {
            title->setFont(titleFont());
            QPalette blue = title->palette();
            blue.setColor(QPalette::WindowText, Qt::blue);
            title->setPalette(blue);
        }
        label8->move(40, 8);
        label8->adjustSize();
        label10->move(120, 32);
        label10->adjustSize();
        QPalette red = text1->palette();
        red.setColor(QPalette::Text, Qt::red);
        text1->setPalette(red);
        text1->setGeometry(248, 72, 57, 25);
        ok->setGeometry(248, 256, 65, 33);
        picture->setGeometry(248, 104, 225, 137);
        picture->setAutoFillBackground(true);
    }

    QColor pixel(QPoint at) { return client.grab().toImage().pixelColor(at); }
    // A point inside Label8's trailing blanks: no glyph there, only what lies behind.
    QPoint behindLabel8() { return label8->geometry().topRight() + QPoint(-3, 3); }
};

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT
private slots:
    void chosenColourFillsWindowBehindLabels_data();
    void chosenColourFillsWindowBehindLabels();
    void cancelledColourChangesNothing();
    void chosenFontGoesToBothTitles_data();
    void chosenFontGoesToBothTitles();
    void refusedSizeLeavesSizeButNotFaceOrBold_data();
    void refusedSizeLeavesSizeButNotFaceOrBold();
    void cancelledFontChangesNothing();
};

void AppearanceTest::chosenColourFillsWindowBehindLabels_data()
{
    QTest::addColumn<QColor>("chosen");
    // Distinct red and blue bytes catch a colour read in the wrong byte order.
    QTest::addRow("dark blue") << QColor(0x12, 0x34, 0xAB);
    QTest::addRow("orange") << QColor(0xFF, 0x80, 0x00);
    QTest::addRow("black") << QColor(0, 0, 0);
}

void AppearanceTest::chosenColourFillsWindowBehindLabels()
{
    QFETCH(QColor, chosen);
    Window w;
    const QColor pictureBefore = w.pixel(w.picture->geometry().center());
    const QColor fieldBefore = w.pixel(w.text1->geometry().topLeft() + QPoint(3, 3));
    const QColor buttonBefore = w.ok->palette().color(QPalette::Button);
    w.dialogs.colorAnswers.enqueue(chosen);

    ui::applyWindowColor(w.cd, &w.client);

    QCOMPARE(w.cd.Flags, 2);
    QCOMPARE(w.dialogs.requests.size(), 1);
    QVERIFY(w.dialogs.requests.first().showCustomColors);
    QCOMPARE(w.pixel(w.behindLabel8()), chosen);
    QCOMPARE(w.pixel({2, 330}), chosen);
    QCOMPARE(w.pixel(w.picture->geometry().center()), pictureBefore);
    QCOMPARE(w.pixel(w.text1->geometry().topLeft() + QPoint(3, 3)), fieldBefore);
    QCOMPARE(w.text1->palette().color(QPalette::Text), QColor(Qt::red));
    QCOMPARE(w.ok->palette().color(QPalette::Button), buttonBefore);
    QCOMPARE(w.label8->palette().color(QPalette::WindowText), QColor(Qt::blue));
}

void AppearanceTest::cancelledColourChangesNothing()
{
    Window w;
    const QImage before = w.client.grab().toImage();
    w.dialogs.colorAnswers.enqueue(std::nullopt);

    ui::applyWindowColor(w.cd, &w.client);

    // The classic handler painted the leftover colour, black at first.
    QCOMPARE(w.dialogs.requests.size(), 1);
    QCOMPARE(w.client.grab().toImage(), before);
    QCOMPARE(w.client.palette().color(QPalette::Window), QColor(Qt::green));
}

void AppearanceTest::chosenFontGoesToBothTitles_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addRow("larger serif, regular") << "Liberation Serif" << 18.0 << false;
    QTest::addRow("smaller sans, bold") << "Liberation Sans" << 8.0 << true;
    QTest::addRow("fractional size") << "DejaVu Serif" << 10.5 << true;
    QTest::addRow("the largest size") << "DejaVu Serif" << 2160.0 << false;
}

void AppearanceTest::chosenFontGoesToBothTitles()
{
    QFETCH(QString, face);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    Window w;
    const QPoint label8At = w.label8->pos();
    QFont chosen(face);
    chosen.setPointSizeF(points);
    chosen.setBold(bold);
    chosen.setUnderline(true); // not applied
    w.dialogs.fontAnswers.enqueue(chosen);

    ui::applyTitleFont(w.cd, &w.client, w.label8, w.label10);

    QCOMPARE(w.cd.Flags, 2);
    QCOMPARE(w.client.font().pointSizeF(), points);
    for (QLabel* title : {w.label8, w.label10}) {
        const QFont font = title->font();
        QCOMPARE(font.family(), face);
        QCOMPARE(font.pointSizeF(), points);
        QCOMPARE(font.bold(), bold);
        QVERIFY(font.italic());
        QVERIFY(!font.underline());
        QCOMPARE(title->palette().color(QPalette::WindowText), QColor(Qt::blue));
        // Sized to the text in the new font, trailing blanks included.
        const QFontMetrics metrics(font);
        QVERIFY(title->width() >= metrics.horizontalAdvance(title->text()));
        QVERIFY(title->width() <= metrics.horizontalAdvance(title->text()) + 8);
        QVERIFY(title->height() >= metrics.height());
    }
    QCOMPARE(w.label8->pos(), label8At);
}

void AppearanceTest::refusedSizeLeavesSizeButNotFaceOrBold_data()
{
    QTest::addColumn<qreal>("points");
    QTest::addRow("above the largest size") << 3000.0;
    QTest::addRow("far above") << 100000.0;
}

void AppearanceTest::refusedSizeLeavesSizeButNotFaceOrBold()
{
    QFETCH(qreal, points);
    Window w;
    const qreal clientPoints = w.client.font().pointSizeF();
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSizeF(points);
    chosen.setBold(false);
    w.dialogs.fontAnswers.enqueue(chosen);

    ui::applyTitleFont(w.cd, &w.client, w.label8, w.label10);

    QCOMPARE(w.client.font().pointSizeF(), clientPoints);
    for (QLabel* title : {w.label8, w.label10}) {
        QCOMPARE(title->font().pointSizeF(), 12.0);
        QCOMPARE(title->font().family(), QStringLiteral("Liberation Serif"));
        QVERIFY(!title->font().bold());
        QVERIFY(title->font().italic());
    }
}

void AppearanceTest::cancelledFontChangesNothing()
{
    Window w;
    const QFont font8 = w.label8->font();
    const QRect geometry8 = w.label8->geometry();
    const QRect geometry10 = w.label10->geometry();
    const QFont clientFont = w.client.font();
    w.dialogs.fontAnswers.enqueue(std::nullopt);

    ui::applyTitleFont(w.cd, &w.client, w.label8, w.label10);

    // The classic handler applied the dialog's leftovers and reset the titles' face.
    QCOMPARE(w.dialogs.requests.size(), 1);
    QCOMPARE(w.label8->font(), font8);
    QCOMPARE(w.label10->font(), font8);
    QCOMPARE(w.label8->geometry(), geometry8);
    QCOMPARE(w.label10->geometry(), geometry10);
    QCOMPARE(w.client.font(), clientFont);
}

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
