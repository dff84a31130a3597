#pragma once
// FrmZelm, the calculator window. The map:
//
//   Text2 W, Text3 B, Text4 H, Text6 Q  -- focus leaves for another control -->
//       Text2/3/4/6_Validate: rewritten in normal number form (calc/number_text.h)
//   Text7 L, Combo1 k, Combo2 K         -- read as typed, never rewritten
//   OK (click, or Enter anywhere)       --> OK_Click: calc::computeDischarge --> Text1,
//                                           and announced to screen readers (ui/announcement.h)
//   Command2 (click, or Esc anywhere)   --> Command2_Click (exit question)
//   menu items and their shortcut keys  --> Mnu…_Click / mnu…_Click
//
// Look and defaults: frm_zelm_layout.h (one table), which also binds each control and
// command to the member that holds it (Text4 is ui_.depth, MnuFileSave commands_.save).
// Building, keys, validation and the calculation: frm_zelm.cpp. The menu commands:
// frm_zelm_commands.cpp. Held keys act once: fresh_keys.h. Every handler runs through
// platform::runHandler, so an error is reported and the window goes on.

#include "platform/services.h"
#include "ui/application_properties.h"
#include "ui/main_window/frm_zelm_layout.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

class QLabel;
class QLineEdit;

namespace platform {
class CommonDialog;
}

namespace ui {

class FrmZelm : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmZelm(platform::Services services, ApplicationProperties properties = {},
                     QWidget* parent = nullptr);
    ~FrmZelm() override;

    // The controls by what they hold (frm_zelm_layout.h binds each to its objectName).
    using Form = layout::Form;
    const Form& form() const { return ui_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createClientArea();
    void createControls();
    QWidget* createControl(const layout::Control& c);
    void styleControl(QWidget* w, const layout::Control& c);
    void nameFieldsByLabels();
    void createMenus();
    void connectEvents();
    // Runs one handler the way every event of this window runs.
    void run(void (FrmZelm::*handler)());

    // Events of the window and its fields (frm_zelm.cpp).
    void Form_Load();
    void OK_Click();
    void Text2_Validate(bool& cancel);
    void Text3_Validate(bool& cancel);
    void Text4_Validate(bool& cancel);
    void Text6_Validate(bool& cancel);
    void validateNumberField(QLineEdit* field);
    void focusMoved(QWidget* from, QWidget* to);
    double readNumber(const QString& text) const;

private slots:
    // The Window menu keeps its items, which do nothing (frm_zelm.cpp).
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();

    // Commands (frm_zelm_commands.cpp).
    void Command2_Click();
    void MnuFileOpen_Click();
    void MnuFileSave_Click();
    void MnuFilePrint_Click();
    void MnuFileCancel_Click();
    void MnuStroyColor_Click();
    void MnuFont_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();

private:
    platform::Services services_;
    ApplicationProperties properties_;
    Form ui_;
    layout::Commands commands_;
    platform::CommonDialog* CD = nullptr; // one for the whole run, shared by every command
    QList<QLabel*> sizedToText_; // labels that take the size of their caption
    QMetaObject::Connection focusWatch_;
    QPointer<QWidget> lastControl_; // the control of the window that had the focus last
    // The control whose mouse press moved the focus and raised an error report: the press
    // reaches it only after the report, whose modal loop took the release.
    QPointer<QWidget> pressAfterReport_;
};

} // namespace ui
