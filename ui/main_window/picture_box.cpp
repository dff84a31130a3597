#include "ui/main_window/picture_box.h"

#include "ui/high_dpi_pixmap.h"

#include <QPainter>

namespace ui {

PictureBox::PictureBox(QString resource, QWidget* parent)
    : QFrame(parent), resource_(std::move(resource))
{
    // The classic picture box border: two pixels, sunken.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
}

const QPixmap& PictureBox::picture()
{
    // Decoded again only when the window has moved to a screen that wants the other one.
    const bool sharp = devicePixelRatioF() > 1.0;
    if (!loaded_ || sharp != loadedSharp_) {
        loaded_ = true;
        loadedSharp_ = sharp;
        picture_ = loadPixmap(resource_, devicePixelRatioF());
    }
    return picture_;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    // Between 1× and 2× (at 150 %) the 2× picture is scaled down, smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(contentsRect().topLeft(), picture());
}

} // namespace ui
