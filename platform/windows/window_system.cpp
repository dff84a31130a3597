// Windows: Qt's own platform plugin; a Qt::Tool window has no task-bar button there, nor
// has a dialog with an owner. The main window's keyboard focus at start is asked for by
// ui/window_focus, as on every system.
#include "platform/window_system.h"

namespace platform {

std::vector<char*> applicationArguments(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    return arguments;
}

void keepOutOfTaskBar(QWidget*) {}

} // namespace platform
