#pragma once
// The File commands and the exit question of the main window, as free functions over the
// platform seams so they run without the window: FrmZelm's handlers call them.
//   Command2 / Esc        -> confirmExit
//   MnuFileOpen / Ctrl+O  -> openCommand
//   MnuFileSave / Ctrl+S  -> saveReportCommand (writes through output/report.h)
// File -> "Выход" (F9) is the window's own close(); nothing here is involved.

#include <QString>

class QWidget;

namespace platform {
class CommonDialog;
class MessageBoxes;
class ProcessControl;
} // namespace platform

namespace ui {

// Asks "Хотите выйти?" and ends the program at once on Yes; on No nothing changes.
void confirmExit(platform::MessageBoxes& messages, platform::ProcessControl& process,
                 QWidget* window);

// Shows the open dialog through CD; a chosen file ends the program at once, unread.
void openCommand(platform::CommonDialog& cd, platform::ProcessControl& process);

// Shows the save dialog through CD and writes the report to the chosen file. A failure
// throws platform::RunTimeError for the window's error report.
void saveReportCommand(platform::CommonDialog& cd, const QString& label8Caption,
                       const QString& text2, const QString& label1Caption);

} // namespace ui
