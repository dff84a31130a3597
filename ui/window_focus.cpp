#include "ui/window_focus.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace ui {

namespace {

class FocusKeeper final : public QObject {
public:
    explicit FocusKeeper(QWidget* window) : QObject(window), window_(window)
    {
        // Every dialog's hiding passes here, Qt's own file, colour and font dialogs and
        // message boxes included, which no code of ours sees otherwise.
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show && event->type() != QEvent::Hide)
            return false;
        if (event->spontaneous() || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show) {
            if (widget == window_ && !shown_) {
                shown_ = true;
                // After show() returns: the request is the program's own, made once the
                // window is on its way to the screen.
                QMetaObject::invokeMethod(this, [this] { activate(window_); }, Qt::QueuedConnection);
            }
            return false;
        }
        if (widget != window_ && widget->windowType() == Qt::Dialog
            && QGuiApplication::applicationState() == Qt::ApplicationActive) {
            // The dialog is already off the modal stack: what remains is the one under it.
            QWidget* under = QApplication::activeModalWidget();
            QPointer<QWidget> next = under ? under : window_.data();
            // Asked after the events pending now: openbox drops a request that reaches it
            // while it still deals with the dialog's going.
            QMetaObject::invokeMethod(this, [next] { activate(next); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static void activate(QWidget* window)
    {
        // Not isActiveWindow(): Qt counts a tool window without a parent as active always.
        if (window && window->isVisible()
            && QGuiApplication::focusWindow() != window->windowHandle())
            window->activateWindow();
    }

    QPointer<QWidget> window_;
    bool shown_ = false;
};

} // namespace

void keepKeyboardFocus(QWidget* window)
{
    new FocusKeeper(window);
}

} // namespace ui
