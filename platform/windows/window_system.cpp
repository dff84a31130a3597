// Windows: Qt's own platform plugin. A window without a parent gets a hidden owner: an
// owned window has no task-bar button, and the owner is what gives it the keyboard back
// after a dialog under Wine (see keepOutOfTaskBar). The main window's keyboard focus at
// start is asked for by ui/window_focus, as on every system.
#include "platform/window_system.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace platform {

std::vector<char*> applicationArguments(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    return arguments;
}

namespace {

// Qt sets a window's owner from its transient parent each time it shows it, so the owner
// is given there, just before the window is mapped.
class HiddenOwner final : public QObject {
public:
    explicit HiddenOwner(QWidget* window) : QObject(window)
    {
        owner_.create();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous())
            if (QWindow* handle = static_cast<QWidget*>(watched)->windowHandle())
                handle->setTransientParent(&owner_);
        return false;
    }

private:
    QWindow owner_; // never shown
};

} // namespace

// A Qt::Tool window is out of the task bar already; it is owned as well because Wine maps a
// window without an owner as an ordinary window that skips the task bar, and openbox never
// hands the focus back to such a window when a dialog over it closes. An owned one Wine
// maps as a dialog of its owner, which gets the focus back (docs/windows.md). On
// Windows an owner that is never shown changes nothing visible: no button, no frame, the
// same activation. The owner goes with the window (the filter is its child); Qt takes it
// off as the window's owner before destroying it, so Windows does not destroy the window too.
void keepOutOfTaskBar(QWidget* window)
{
    if (window->parentWidget())
        return; // owned already, as dialogs are
    window->installEventFilter(new HiddenOwner(window));
}

} // namespace platform
