#pragma once
// A picture in a sunken 3-D border, shown unscaled from the top-left corner of the inner
// area and cut off at the border. The image is decoded on first paint, not at start-up,
// in the resolution of the screen it is painted on (see high_dpi_pixmap.h).

#include <QFrame>
#include <QPixmap>
#include <QString>

namespace ui {

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QString resource, QWidget* parent = nullptr);

    // The decoded picture for the widget's screen (decoding it now if it has not been
    // shown there yet).
    const QPixmap& picture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString resource_;
    QPixmap picture_;
    bool loaded_ = false;
    bool loadedSharp_ = false; // the 2× picture was asked for
};

} // namespace ui
