#pragma once
// What the desktop's window system needs told that Qt cannot say for us: the program's
// windows stay out of the task bar and the pager. One implementation per window system,
// x11/ and windows/, chosen by the build.

#include <vector>

class QWidget;

namespace platform {

// The arguments to construct QApplication with: argv as given, and under X11 "-platform
// xcb" added when the user chose no platform (neither QT_QPA_PLATFORM nor -platform) and an X server is
// at hand (DISPLAY). On a Wayland session that runs the program through XWayland: Wayland
// gives a client no way to keep a window out of the task bar (the compositor decides), X11
// does, and frameless windows work there as well. The strings live as long as the program;
// the list ends with a null pointer, which the count leaves out.
std::vector<char*> applicationArguments(int argc, char* argv[]);

// Keeps a top-level window out of the task bar and the pager from its first map on, and on
// every later map: under X11, _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER are
// set on the window before it is mapped. On Windows a Qt::Tool window and an owned dialog
// have no task-bar button already; a window without a parent is given a hidden owner there,
// which under Wine brings the keyboard back to it after a dialog.
void keepOutOfTaskBar(QWidget* window);

} // namespace platform
