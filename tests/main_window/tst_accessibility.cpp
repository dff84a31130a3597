// What assistive technology hears: every Tab stop of the calculator window and of the
// About dialog, and the About logo, is named for what it is.

#include "tests/support/scripted_platform.h"
#include "ui/about/frm_ab.h"
#include "ui/main_window/frm_zelm.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role"); // QAccessible::Role
        QTest::addColumn<QString>("expected"); // the name

        const int field = QAccessible::EditableText;
        const int button = QAccessible::Button;
        const int image = QAccessible::Graphic;
        QTest::addRow("result field") << "Text1" << field << "Расход воды, м.куб/сек";
        QTest::addRow("volume") << "Text2" << field << "Объём вод-ща (W), м.куб";
        QTest::addRow("width") << "Text3" << field << "Ширина плотины (B), м";
        QTest::addRow("depth, two blanks kept") << "Text4" << field << "Глубина (H)  у основания";
        QTest::addRow("inflow") << "Text6" << field << "Ср.расход (Q) притока";
        QTest::addRow("distance") << "Text7" << field << "Расстояние (L) до перехода, м";
        QTest::addRow("k, its edit part") << "Combo1" << field << "для новых плотин k-0.50 для других k-0.75";
        QTest::addRow("K, its edit part") << "Combo2" << field << "Коэф.условия прохождения волны";
        QTest::addRow("OK") << "OK" << button << "OK";
        QTest::addRow("exit button") << "Command2" << button << "Выход";
        // Once a bare frame, spoken like a window; its tooltip ends in a blank.
        QTest::addRow("picture, a Tab stop") << "Picture1" << image << "Верхний бьеф";
        QTest::addRow("About's OK") << "cmdOK" << button << "OK";
        QTest::addRow("About's logo") << "picIcon" << image << "Логотип серии программ Тарвел";
    }
    void names()
    {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(QString, expected);

        testing_support::ScriptedPlatform platform;
        ui::FrmZelm window(platform.services());
        ui::FrmAb about(&window, {QStringLiteral("Зельм"), 1, 0, 1});
        QWidget* widget = window.findChild<QWidget*>(control);
        if (!widget)
            widget = about.findChild<QWidget*>(control);
        QVERIFY2(widget, qPrintable(control));

        // A field is also labelled by its caption, which is how a Linux screen reader
        // announces a combo box.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        if (control.startsWith(u"Text") || control.startsWith(u"Combo")) {
            const auto labels = accessible->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first().first->text(QAccessible::Name), expected);
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            accessible = QAccessible::queryAccessibleInterface(combo->lineEdit());
        QCOMPARE(accessible->role(), QAccessible::Role(role));
        QCOMPARE(accessible->text(QAccessible::Name), expected);
        // Orca reads a field by its attribute runs: one must cover the whole text.
        if (QAccessibleTextInterface* text = accessible->textInterface()) {
            int start = -1;
            int end = -1;
            text->attributes(text->characterCount() / 2, &start, &end);
            QCOMPARE(std::pair(start, end), std::pair(0, text->characterCount()));
        }
        // Spoken after the name: the name again would be heard twice.
        const QString description = accessible->text(QAccessible::Description);
        QVERIFY2(!description.contains(expected), qPrintable(description));
    }

    // A screen reader speaks no text written into a field without the focus: the result
    // field says where the result appears.
    void resultFieldSaysWhereTheResultIs()
    {
        testing_support::ScriptedPlatform platform;
        ui::FrmZelm window(platform.services());
        const QString description =
            QAccessible::queryAccessibleInterface(window.form().result)->text(QAccessible::Description);
        QVERIFY2(description.contains(u"OK") && description.contains(u"Enter"), qPrintable(description));
    }

    // Each result is told as the one notification of the client area, which lists it
    // where the notification says it is.
    void oneNotificationPerResult()
    {
        testing_support::ScriptedPlatform platform;
        ui::FrmZelm window(platform.services());
        const ui::FrmZelm::Form& form = window.form();
        form.volume->setText(QStringLiteral("1000000"));
        form.damWidth->setText(QStringLiteral("100"));
        form.depth->setText(QStringLiteral("16"));
        QAccessibleInterface* client = QAccessible::queryAccessibleInterface(form.client);
        for (const char* inflow : {"10", "20"}) {
            form.inflow->setText(QLatin1String(inflow));
            form.ok->click();
            QList<QAccessibleInterface*> notices;
            for (int i = 0; i < client->childCount(); ++i)
                if (client->child(i)->role() == QAccessible::Notification)
                    notices.append(client->child(i));
            QCOMPARE(notices.size(), 1);
            QCOMPARE(notices.first()->text(QAccessible::Name), form.result->text());
            QCOMPARE(notices.first()->parent(), client);
            QCOMPARE(client->child(client->indexOfChild(notices.first())), notices.first());
        }
    }

    // Orca speaks a frame like a window of its own: inside a window none may be one, and
    // the separator lines are separators.
    void noFrameInsideTheWindows()
    {
        testing_support::ScriptedPlatform platform;
        ui::FrmZelm window(platform.services());
        ui::FrmAb about(&window, {QStringLiteral("Зельм"), 1, 0, 1});
        for (QWidget* top : {static_cast<QWidget*>(&window), static_cast<QWidget*>(&about)}) {
            for (QWidget* child : top->findChildren<QWidget*>()) {
                if (child->isWindow()) // a drop-down list's own popup window
                    continue;
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
                QVERIFY(accessible);
                QVERIFY2(accessible->role() != QAccessible::Border,
                         qPrintable(child->objectName() + u' ' + QString::fromLatin1(child->metaObject()->className())));
            }
        }
        for (const char* line : {"Line1_1", "Line1_0"}) {
            auto* widget = about.findChild<QWidget*>(QLatin1String(line));
            QVERIFY2(widget, line);
            QCOMPARE(QAccessible::queryAccessibleInterface(widget)->role(), QAccessible::Separator);
        }
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
