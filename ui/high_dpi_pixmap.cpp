#include "ui/high_dpi_pixmap.h"

namespace ui {

QPixmap loadPixmap(const QString& resource, qreal devicePixelRatio)
{
    const qsizetype dot = resource.lastIndexOf(QLatin1Char('.'));
    if (devicePixelRatio > 1.0 && dot >= 0) {
        QPixmap sharp(resource.first(dot) + QStringLiteral("@2x") + resource.sliced(dot));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QPixmap(resource);
}

} // namespace ui
