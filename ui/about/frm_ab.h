#pragma once
// frmAb, the About dialog: the Tarvel logo, the series line, the version, a description
// and the ownership notice. It is built anew for every showing and destroys itself when
// cmdOK closes it.

#include "ui/about/frm_ab_layout.h"
#include "ui/application_properties.h"

#include <QDialog>
#include <QString>

namespace ui {

class FrmAb : public QDialog {
    Q_OBJECT
public:
    FrmAb(QWidget* owner, const ApplicationProperties& info);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();

    ApplicationProperties info_;
    about_layout::Form ui_;
};

// mnuHelpAbout: creates frmAb over owner and runs it modally; returns once it is closed.
void showAbout(QWidget* owner, const ApplicationProperties& info);

} // namespace ui
