// Qt's file, colour and font dialogs, for every system whose own Qt draws them.
#include "platform/system_choosers.h"

#include <QColorDialog>
#include <QFileDialog>
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

std::optional<QString> chooseOpenFileName(QWidget* parent, const QString& title,
                                          const QString& qtFilter, const QString& initialName)
{
    const QString name = QFileDialog::getOpenFileName(parent, title, initialName, qtFilter);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

std::optional<QString> chooseSaveFileName(QWidget* parent, const QString& title,
                                          const QString& qtFilter, const QString& initialName,
                                          bool confirmOverwrite)
{
    QFileDialog::Options options;
    if (!confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    const QString name =
        QFileDialog::getSaveFileName(parent, title, initialName, qtFilter, nullptr, options);
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

} // namespace platform
