#pragma once
// A program that ends at once keeps what the user copied, as on a normal end, where Qt
// hands the clipboard over itself. How differs per system (x11/, windows/): on X11
// the program that copied serves the clipboard, so the text goes to the desktop's
// clipboard manager (the freedesktop.org ClipboardManager protocol, SAVE_TARGETS); on
// Windows the copied OLE object is flushed into the system's clipboard.

namespace platform {

// Called just before the process ends without Qt's own shutdown. Runs no event of the
// program's windows; does nothing when there is nothing to hand over or no one to take it.
void keepClipboardAfterEnd();

} // namespace platform
