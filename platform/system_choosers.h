#pragma once
// The file, colour and font choosers of the system the program runs on, which
// QtDialogBackend shows: Windows' own common dialogs there (GetOpenFileNameW,
// GetSaveFileNameW, ChooseColorW, ChooseFontW), worded by Windows in the user's language as
// the classic control's were; Qt's dialogs elsewhere, where they are the desktop's. One
// implementation per system, chosen by the build. Each returns nothing when the user
// cancelled.

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace platform {

// showCustomColors: the dialog opens with its custom-colour part shown.
std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial, bool showCustomColors);
std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial);

// qtFilter as QFileDialog takes it ("Textfiles (*.txt);;All Files (*)"); the name chosen is
// returned with forward slashes, as Qt gives it.
std::optional<QString> chooseOpenFileName(QWidget* parent, const QString& title,
                                          const QString& qtFilter, const QString& initialName);
// confirmOverwrite: the dialog asks before an existing file is chosen.
std::optional<QString> chooseSaveFileName(QWidget* parent, const QString& title,
                                          const QString& qtFilter, const QString& initialName,
                                          bool confirmOverwrite);

} // namespace platform
