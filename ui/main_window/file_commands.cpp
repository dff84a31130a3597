#include "ui/main_window/file_commands.h"

#include "output/report.h"
#include "platform/common_dialog.h"
#include "platform/message_boxes.h"
#include "platform/process_control.h"

namespace ui {

void confirmExit(platform::MessageBoxes& messages, platform::ProcessControl& process,
                 QWidget* window)
{
    // The second line starts with a Latin "A"; the box carries the application's title.
    const QString text = QStringLiteral("Хотите выйти?") + QStringLiteral("\r\n")
        + QStringLiteral("A может подумаете?");
    if (messages.show(window, text, platform::Buttons::YesNo, platform::Icon::Question)
        == platform::Answer::Yes)
        process.endNow();
}

void openCommand(platform::CommonDialog& cd, platform::ProcessControl& process)
{
    cd.DialogTitle = QStringLiteral("Open");
    cd.CancelError = false;
    cd.Filter = QStringLiteral("All Files (*.*)|*.*");
    cd.ShowOpen();
    if (cd.FileName.isEmpty())
        return;
    // There is no document to show: choosing a file only ends the program.
    process.endNow();
}

void saveReportCommand(platform::CommonDialog& cd, const QString& label8Caption,
                       const QString& text2, const QString& label1Caption)
{
    // 524290 = 0x80002: ask before overwriting (2) in the explorer-style dialog (0x80000).
    cd.Filter = QStringLiteral("Textfiles|*.txt");
    cd.Flags = 524290;
    cd.ShowSave();
    if (cd.FileName.isEmpty())
        return;
    output::writeReport(cd.FileName, output::reportBytes(label8Caption, text2, label1Caption));
}

} // namespace ui
