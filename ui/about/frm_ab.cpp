#include "ui/about/frm_ab.h"

#include "platform/window_system.h"
#include "ui/accessible_role.h"
#include "ui/high_dpi_pixmap.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

namespace ui {

namespace {

// The dialog's layout was drawn in twips; 15 of them make a pixel at 96 dots per inch.
constexpr int px(int twips)
{
    return (twips + 7) / 15;
}

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

// "MS Sans Serif" is seldom installed; Liberation Sans has the same proportions and Cyrillic.
QFont sansSerif(qreal points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect geometry)
{
    auto* result = new QLabel(text, parent);
    result->setObjectName(QString::fromLatin1(name));
    result->setGeometry(geometry);
    return result;
}

void blackText(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
}

// One stroke of the etched separator: a filled strip of colour.
void line(QWidget* parent, const char* name, QColor colour, int x1, int x2, int y, int thickness)
{
    auto* stroke = new QFrame(parent);
    stroke->setObjectName(QString::fromLatin1(name));
    stroke->setFrameShape(QFrame::NoFrame);
    QPalette palette = stroke->palette();
    palette.setColor(QPalette::Window, colour);
    stroke->setPalette(palette);
    stroke->setAutoFillBackground(true);
    stroke->setGeometry(px(x1), px(y), px(x2) - px(x1) + 1, thickness);
    setAccessibleRole(stroke, QAccessible::Separator);
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
    setFont(sansSerif(8.25, false));
    setFixedSize(px(5730), px(3555));

    // The stored position puts the client area 2340 × 1935 twips from the top-left of the
    // screen; it is taken on the owner's screen so that the dialog appears where the
    // owner is seen.
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    setGeometry(QRect(origin + QPoint(px(2340), px(1935)), size()));

    createControls();
    Form_Load();
}

void FrmAb::createControls()
{
    // cmdOK first: it is first in the tab order and the only control that takes the focus.
    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipRect(2160, 3000, 1260, 345));
    cmdOK_->setFont(sansSerif(9.75, true));
    cmdOK_->setAccessibleName(cmdOK_->text());
    cmdOK_->setDefault(true);
    cmdOK_->setAutoDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &FrmAb::cmdOK_Click);

    // A picture box sized to its 118 × 45 picture inside a 2-pixel sunken border.
    auto* picIcon = label(this, "picIcon", QString(), QRect(px(120), px(120), 0, 0));
    picIcon->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon->setLineWidth(2);
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setPixmap(loadPixmap(QStringLiteral(":/about_logo.bmp"), devicePixelRatioF()));
    picIcon->adjustSize();
    picIcon->setAccessibleName(QStringLiteral("Логотип серии программ Тарвел"));

    label(this, "Label1", QStringLiteral("Серия: Тарвел-ГС"), twipRect(2160, 120, 2295, 255));
    lblVersion_ = label(this, "lblVersion", QStringLiteral("Version"), twipRect(2160, 480, 3885, 225));

    auto* lblDescription = label(
        this, "lblDescription",
        QStringLiteral("Программа предназначена для расчета расхода воды от зельма плотины до "
                       "места перехода и является составной частью программы \"Tarvel\"."),
        twipRect(1050, 1125, 3885, 1170));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    blackText(lblDescription);

    // Line1: an etched separator, a grey stroke over a white one.
    line(this, "Line1_1", QColor(0x80, 0x80, 0x80), 90, 5654, 2445, 1);
    line(this, "Line1_0", Qt::white, 105, 5654, 2460, 2);

    auto* lblDisclaimer = label(this, "lblDisclaimer",
                                QStringLiteral("© 2026 Разработчики программы «Зельм». Все права защищены."),
                                twipRect(135, 2625, 5430, 225));
    blackText(lblDisclaimer);

    cmdOK_->setFocus();
}

void FrmAb::Form_Load()
{
    // Rebuilt from the properties each time, so a second showing reads the same.
    setWindowTitle(QStringLiteral("О Программе ") + info_.title);
    lblVersion_->setText(QStringLiteral("Версия %1.%2.%3")
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
        cmdOK_->click();
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
