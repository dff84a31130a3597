#pragma once
// The keyboard focus of a window that window managers pass over. Many give a window no
// focus when it is mapped if it is a utility (tool) window or stays out of the task bar,
// and none back to it when a dialog over it closes; every one of them honours a request
// from the program itself, made once the window is shown (QWidget::activateWindow).

class QWidget;

namespace ui {

// Asks the window system to activate `window` when it first shows, and again whenever a
// dialog of this program closes while the program is the active one (the next dialog
// still open is activated instead, if there is one). Nothing is asked while another
// program is active.
void keepKeyboardFocus(QWidget* window);

} // namespace ui
