// Qt's colour and font dialogs, for every system whose own Qt draws them.
#include "platform/system_choosers.h"

#include <QColorDialog>
#include <QFontDialog>

namespace platform {

std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial, bool /*showCustomColors*/)
{
    // Qt's colour dialog always shows its custom colours; there is nothing to switch.
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return chosen;
}

} // namespace platform
