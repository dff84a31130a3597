#pragma once
// The colour and font choosers of the system the program runs on, which QtDialogBackend
// shows: Windows' own common dialogs there (ChooseColorW, ChooseFontW), worded by Windows in
// the user's language as the classic control's were; Qt's dialogs elsewhere, where they are
// the desktop's. One implementation per system, chosen by the build. Each returns nothing
// when the user cancelled.

#include <QColor>
#include <QFont>
#include <optional>

class QWidget;

namespace platform {

// showCustomColors: the dialog opens with its custom-colour part shown.
std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial, bool showCustomColors);
std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial);

} // namespace platform
