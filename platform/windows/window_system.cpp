// Windows: Qt's own platform plugin; a Qt::Tool window has no task-bar button there.
#include "platform/window_system.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

namespace platform {

std::vector<char*> applicationArguments(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    return arguments;
}

namespace {

// Qt shows a tool window without activating it, so the program's first window would
// start without the keyboard focus; it is activated once shown, as a main window is.
class ActivateWhenShown final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            auto* window = static_cast<QWidget*>(watched);
            QMetaObject::invokeMethod(window, [window] { window->activateWindow(); }, Qt::QueuedConnection);
        }
        return false;
    }
};

} // namespace

void keepOutOfTaskBar(QWidget* window)
{
    window->installEventFilter(new ActivateWhenShown(window));
}

} // namespace platform
