#include "ui/about/frm_ab.h"

#include "platform/window_system.h"
#include "ui/about/frm_ab_layout.h"
#include "ui/accessible_role.h"
#include "ui/form_metrics.h"
#include "ui/high_dpi_pixmap.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include <string_view>
#include <variant>

namespace ui {

namespace {

QFont sansSerif(qreal points, bool bold)
{
    QFont font;
    font.setFamilies(formFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// One constructor per kind of control, chosen by the type of the member it goes into.
QPushButton* newControl(QPushButton*, const about_layout::Control& c, QWidget* parent)
{
    auto* button = new QPushButton(qs(c.text), parent);
    button->setGeometry(twipRect(c.left, c.top, c.width, c.height));
    button->setAccessibleName(button->text());
    button->setDefault(true);
    button->setAutoDefault(true);
    return button;
}

QLabel* newControl(QLabel*, const about_layout::Control& c, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setGeometry(twipRect(c.left, c.top, c.width, c.height));
    if (c.text.starts_with(":/")) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(2);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setPixmap(loadPixmap(qs(c.text), parent->devicePixelRatioF()));
        label->adjustSize();
        label->setAccessibleName(qs(about_layout::kLogoName));
        return label;
    }
    label->setText(qs(c.text));
    if (c.wordWrap) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

QFrame* newControl(QFrame*, const about_layout::Control& c, QWidget* parent)
{
    auto* stroke = new QFrame(parent);
    stroke->setFrameShape(QFrame::NoFrame);
    stroke->setAutoFillBackground(true);
    const int x1 = pixels(c.left);
    stroke->setGeometry(x1, pixels(c.top), pixels(c.left + c.width) - x1 + 1, pixels(c.height));
    setAccessibleRole(stroke, QAccessible::Separator);
    return stroke;
}

// A label's text or a stroke's strip in the row's colour.
void colour(QWidget* w, std::uint32_t rgb)
{
    if (rgb == about_layout::kSystemColour)
        return;
    QPalette palette = w->palette();
    const auto role = qobject_cast<QLabel*>(w) ? QPalette::WindowText : QPalette::Window;
    palette.setColor(role, QColor::fromRgb(static_cast<QRgb>(rgb)));
    w->setPalette(palette);
}

} // namespace

FrmAb::FrmAb(QWidget* owner, const ApplicationProperties& info)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      info_(info)
{
    setObjectName(QStringLiteral("frmAb"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QStringLiteral("О программе"));
    platform::keepOutOfTaskBar(this);
    setFont(sansSerif(about_layout::kPointSize, false));
    setFixedSize(pixels(about_layout::kClientWidth), pixels(about_layout::kClientHeight));

    // The stored position is taken on the owner's screen, so that the dialog appears where
    // the owner is seen.
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    setGeometry(QRect(origin + QPoint(pixels(about_layout::kLeft), pixels(about_layout::kTop)),
                      size()));

    createControls();
    Form_Load();
}

void FrmAb::createControls()
{
    for (const about_layout::Control& c : about_layout::kControls) {
        QWidget* w = std::visit(
            [this, &c]<typename W>(W* about_layout::Form::* member) -> QWidget* {
                W* control = newControl(static_cast<W*>(nullptr), c, this);
                ui_.*member = control;
                return control;
            },
            c.member);
        w->setObjectName(qs(c.name));
        colour(w, c.colour);
        if (c.pointSize > 0)
            w->setFont(sansSerif(c.pointSize, true));
    }
    connect(ui_.ok, &QPushButton::clicked, this, &FrmAb::cmdOK_Click);
    ui_.ok->setFocus();
}

void FrmAb::Form_Load()
{
    // Rebuilt from the properties each time, so a second showing reads the same.
    setWindowTitle(QStringLiteral("О Программе ") + info_.title);
    ui_.version->setText(QStringLiteral("Версия %1.%2.%3")
                             .arg(info_.major)
                             .arg(info_.minor)
                             .arg(info_.revision));
}

void FrmAb::cmdOK_Click()
{
    close();
}

void FrmAb::keyPressEvent(QKeyEvent* event)
{
    // Escape presses cmdOK, the dialog's cancel button, rather than QDialog's reject().
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui_.ok->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void showAbout(QWidget* owner, const ApplicationProperties& info)
{
    auto* dialog = new FrmAb(owner, info);
    dialog->exec();
}

} // namespace ui
