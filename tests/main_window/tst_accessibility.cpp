// What assistive technology hears: every input and button of the calculator window, and
// the About dialog's button, carry a name; the picture describes itself.

#include "tests/support/scripted_platform.h"
#include "ui/about/frm_ab.h"
#include "ui/main_window/frm_zelm.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <memory>

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void names_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("text"); // QAccessible::Text
        QTest::addColumn<QString>("expected");

        const int name = QAccessible::Name;
        QTest::addRow("result field") << "Text1" << name << "Расход воды, м.куб/сек";
        QTest::addRow("volume") << "Text2" << name << "Объём вод-ща (W), м.куб";
        QTest::addRow("width") << "Text3" << name << "Ширина плотины (B), м";
        QTest::addRow("depth, two blanks kept") << "Text4" << name << "Глубина (H)  у основания";
        QTest::addRow("inflow") << "Text6" << name << "Ср.расход (Q) притока";
        QTest::addRow("distance") << "Text7" << name << "Расстояние (L) до перехода, м";
        QTest::addRow("k, its edit part") << "Combo1" << name << "для новых плотин k-0.50 для других k-0.75";
        QTest::addRow("K, its edit part") << "Combo2" << name << "Коэф.условия прохождения волны";
        QTest::addRow("OK") << "OK" << name << "OK";
        QTest::addRow("exit button") << "Command2" << name << "Выход";
        QTest::addRow("picture") << "Picture1" << int(QAccessible::Description) << "Верхний бьеф ";
        QTest::addRow("About's OK") << "cmdOK" << name << "OK";
    }
    void names()
    {
        QFETCH(QString, control);
        QFETCH(int, text);
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
        QCOMPARE(accessible->text(static_cast<QAccessible::Text>(text)), expected);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
