#pragma once
// On X11 the clipboard is served by the program that copied: a program that ends at once
// takes what the user copied with it, unless it first hands it to the desktop's
// clipboard manager (the freedesktop.org ClipboardManager protocol, SAVE_TARGETS). Qt
// does this only on a normal end, when its connection closes.

#include <QString>

#include <chrono>

namespace platform {

// Offers text as the CLIPBOARD selection from an X connection and a window of its own,
// so nothing of the program's windows runs, asks the clipboard manager to save it, and
// serves the manager's requests until it has saved or `patience` has passed. Does
// nothing without an X display or a clipboard manager. Says whether the manager confirmed
// that it saved; a manager that fetched the text without confirming ends the wait too.
bool handClipboardTextToManager(const QString& text, std::chrono::milliseconds patience);

} // namespace platform
