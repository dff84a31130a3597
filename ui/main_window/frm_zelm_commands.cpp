// The commands of the calculator window: the exit button and the menu items that do
// something. Each runs through platform::runHandler (see FrmZelm::connectEvents), so an
// error is reported and the window goes on with every field as it was.

#include "ui/main_window/frm_zelm.h"

#include "output/word_handoff.h"
#include "ui/about/frm_ab.h"
#include "ui/about/help_search.h"
#include "ui/main_window/appearance.h"
#include "ui/main_window/file_commands.h"

#include <QLabel>
#include <QLineEdit>

namespace ui {

void FrmZelm::Command2_Click()
{
    confirmExit(services_.messages, services_.process, this);
}

void FrmZelm::MnuFileOpen_Click()
{
    openCommand(*CD, services_.process);
}

void FrmZelm::MnuFileSave_Click()
{
    // The report takes the texts as the window shows them, not recomputed numbers.
    saveReportCommand(*CD, ui_.title->text(), ui_.volume->text(), ui_.volumeLabel->text());
}

void FrmZelm::MnuFilePrint_Click()
{
    output::handOffToWordProcessor(services_.launcher);
}

void FrmZelm::MnuFileCancel_Click()
{
    // Closed as the window system would close it: no question.
    close();
}

void FrmZelm::MnuStroyColor_Click()
{
    applyWindowColor(*CD, ui_.client);
}

void FrmZelm::MnuFont_Click()
{
    applyTitleFont(*CD, ui_.client, ui_.title, ui_.subtitle);
}

void FrmZelm::mnuHelpSearch_Click()
{
    helpSearch(services_.help, services_.messages, this, properties_.helpFile);
}

void FrmZelm::mnuHelpAbout_Click()
{
    showAbout(this, properties_);
}

} // namespace ui
