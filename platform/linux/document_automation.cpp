#include "platform/document_automation.h"

namespace platform {

// Word has no automation on X11 desktops; the hand-off goes to LibreOffice.
bool automateWord(const QString&)
{
    return false;
}

} // namespace platform
