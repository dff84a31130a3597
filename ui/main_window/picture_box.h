#pragma once
// A picture in a sunken 3-D border, shown unscaled from the top-left corner of the inner
// area and cut off at the border. The image is decoded on first paint, not at start-up.

#include <QFrame>
#include <QPixmap>
#include <QString>

namespace ui {

class PictureBox : public QFrame {
    Q_OBJECT
public:
    explicit PictureBox(QString resource, QWidget* parent = nullptr);

    // The decoded picture (decoding it now if it has not been shown yet).
    const QPixmap& picture();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString resource_;
    QPixmap picture_;
    bool loaded_ = false;
};

} // namespace ui
