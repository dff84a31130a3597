// Windows: Qt puts what the user copied on the clipboard as an OLE object of this
// process; flushing renders it into the system's clipboard, which outlives the process.
#include "platform/clipboard_handoff.h"

#include "platform/windows/clipboard_flush.h"

namespace platform {

void keepClipboardAfterEnd()
{
    windows::flushClipboard();
}

} // namespace platform
