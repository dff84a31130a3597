// The commands of the calculator window: the exit button and the menu items that do
// something. Each runs through platform::runHandler (see FrmZelm::connectEvents).

#include "ui/main_window/frm_zelm.h"

namespace ui {

void FrmZelm::Command2_Click()
{
    // Does nothing yet: the exit question.
}

void FrmZelm::MnuFileOpen_Click()
{
    // Does nothing yet: the file-open dialog.
}

void FrmZelm::MnuFileSave_Click()
{
    // Does nothing yet: the text report.
}

void FrmZelm::MnuFilePrint_Click()
{
    // Does nothing yet: the word-processor document.
}

void FrmZelm::MnuFileCancel_Click()
{
    // Does nothing yet: closing the window without a question.
}

void FrmZelm::MnuStroyColor_Click()
{
    // Does nothing yet: the window colour.
}

void FrmZelm::MnuFont_Click()
{
    // Does nothing yet: the font of the two title lines.
}

void FrmZelm::mnuHelpSearch_Click()
{
    // Does nothing yet: the help search.
}

void FrmZelm::mnuHelpAbout_Click()
{
    // Does nothing yet: the About dialog.
}

} // namespace ui
