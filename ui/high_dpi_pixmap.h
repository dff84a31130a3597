#pragma once
// The windows' pictures are compiled in twice: as drawn, and drawn at twice the size
// ("name@2x.ext"). A screen with more than one device pixel to a pixel gets the 2× one,
// so the picture keeps its size on screen and is drawn from pixels of its own instead of
// being scaled up.

#include <QPixmap>
#include <QString>

namespace ui {

QPixmap loadPixmap(const QString& resource, qreal devicePixelRatio);

} // namespace ui
