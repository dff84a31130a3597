#pragma once
// Held keys: only a fresh press of Enter, Return or Esc presses a button or answers a
// question, and a held shortcut runs its command once.

class QObject;

namespace ui {

// For the whole application while owner lives: the window and every box and dialog it
// opens take no repeated Enter, Return or Esc, and no shortcut runs on a repeat.
void installFreshKeysOnly(QObject* owner);

} // namespace ui
