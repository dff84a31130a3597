#include "ui/main_window/picture_box.h"

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
    if (!loaded_) {
        loaded_ = true;
        picture_.load(resource_);
    }
    return picture_;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawPixmap(contentsRect().topLeft(), picture());
}

} // namespace ui
