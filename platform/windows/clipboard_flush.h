#pragma once
// Ending the process at once keeps what was copied. Data put on the clipboard through OLE
// (as Qt does on Windows) stays an object of this process, rendered only when pasted;
// flushing renders every format into the clipboard itself, which outlives the process.

namespace platform::windows {

// Renders and hands over this thread's clipboard data, if any, and returns whether the
// flush succeeded. OLE is entered for the call when the thread is not in it yet (then
// there is nothing of ours to flush either) and left again.
bool flushClipboard();

} // namespace platform::windows
