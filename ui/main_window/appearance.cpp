#include "ui/main_window/appearance.h"

#include "platform/common_dialog.h"
#include "ui/main_window/label_sizing.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include <cmath>
#include <cstdint>

namespace ui {

namespace {

// Colour flag 2: the dialog opens with its custom-colour part; font flag 2 listed the
// printer's fonts on the classic desktop, here the dialog lists the system's.
constexpr std::int32_t kDialogFlags = 2;

// A control that fills its own background (the picture box, say) would otherwise inherit
// the new window colour through the palette; it keeps the colour it shows now.
void keepOwnBackgrounds(QWidget* clientArea)
{
    const auto children = clientArea->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->autoFillBackground())
            continue;
        QPalette palette = child->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, QPalette::Window, palette.color(group, QPalette::Window));
        child->setPalette(palette);
    }
}

bool acceptableSize(float points)
{
    return std::isfinite(points) && points > 0.0f && points <= kMaxFontPoints;
}

void setPointSize(QWidget* widget, float points)
{
    if (!widget || !acceptableSize(points))
        return;
    QFont font = widget->font();
    font.setPointSizeF(points);
    widget->setFont(font);
}

void setBold(QWidget* widget, bool bold)
{
    if (!widget)
        return;
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

void setFace(QWidget* widget, const QString& face)
{
    if (!widget || face.trimmed().isEmpty())
        return;
    QFont font = widget->font();
    font.setFamily(face);
    widget->setFont(font);
}

void applyToTitle(QLabel* label, const platform::CommonDialog& cd)
{
    setPointSize(label, cd.FontSize);
    setBold(label, cd.FontBold);
    setFace(label, cd.FontName);
    fitToText(label);
}

} // namespace

void applyWindowColor(platform::CommonDialog& cd, QWidget* clientArea)
{
    cd.Flags = kDialogFlags;
    // On the classic desktop a cancel left the previous colour (black at first) and the
    // handler painted it anyway; here a cancel leaves the window as it was.
    if (!cd.ShowColor() || !clientArea)
        return;
    keepOwnBackgrounds(clientArea);
    QPalette palette = clientArea->palette();
    palette.setColor(QPalette::Window, platform::CommonDialog::toQColor(cd.Color));
    clientArea->setPalette(palette);
    clientArea->setAutoFillBackground(true);
    clientArea->update();
}

void applyTitleFont(platform::CommonDialog& cd, QWidget* clientArea, QLabel* label8,
                    QLabel* label10)
{
    cd.Flags = kDialogFlags;
    // A cancel used to reset the titles to the dialog's leftover face; now it does nothing.
    if (!cd.ShowFont())
        return;
    setPointSize(clientArea, cd.FontSize);
    applyToTitle(label8, cd);
    applyToTitle(label10, cd);
}

} // namespace ui
