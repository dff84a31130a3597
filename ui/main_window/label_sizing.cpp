#include "ui/main_window/label_sizing.h"

#include <QFontMetrics>
#include <QLabel>

namespace ui {

void fitToText(QLabel* label)
{
    if (!label)
        return;
    const QFontMetrics metrics(label->font());
    label->resize(metrics.horizontalAdvance(label->text()), metrics.height());
}

} // namespace ui
