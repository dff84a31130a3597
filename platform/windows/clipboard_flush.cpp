#include "platform/windows/clipboard_flush.h"

#include <windows.h>
#include <ole2.h>

namespace platform::windows {

bool flushClipboard()
{
    // S_OK and S_FALSE both count and are balanced. A thread in the multithreaded
    // apartment cannot enter OLE, and so has put nothing on the clipboard through it.
    const HRESULT entered = OleInitialize(nullptr);
    const HRESULT flushed = OleFlushClipboard();
    if (SUCCEEDED(entered))
        OleUninitialize();
    return SUCCEEDED(flushed);
}

} // namespace platform::windows
