#pragma once
// frmAb, the About dialog: the Tarvel logo, the series line, the version, a description
// and the ownership notice. It is built anew for every showing and destroys itself when
// cmdOK closes it.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace ui {

// What the dialog shows of the application; the program passes its own properties.
struct AboutInfo {
    QString title; // "Зельм"
    int major = 0;
    int minor = 0;
    int revision = 0;
};

class FrmAb : public QDialog {
    Q_OBJECT
public:
    FrmAb(QWidget* owner, const AboutInfo& info);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void cmdOK_Click();

    AboutInfo info_;
    QLabel* lblVersion_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
};

// mnuHelpAbout: creates frmAb over owner and runs it modally; returns once it is closed.
void showAbout(QWidget* owner, const AboutInfo& info);

} // namespace ui
