#include "ui/main_window/fresh_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace ui {

namespace {

// A held key repeats. A repeated Enter, Return or Esc would click the button again, or
// answer the question the first press raised (a held Enter on «Выход» answered «Да»); a
// repeated shortcut would run its command again. Only a fresh press counts, in the window
// and in every box and dialog opened over it; other repeats still type as usual.
class FreshKeysOnly final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        const auto type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (type == QEvent::KeyRelease) {
            lastRelease_ = {key->key(), key->timestamp()};
            return false;
        }
        // X11 repeats a held key as a release and a press of the same time. Qt marks the
        // pair as a repeat only when both are already queued; the time tells the rest.
        const bool repeat = key->isAutoRepeat()
            || (key->timestamp() != 0 && lastRelease_.key == key->key()
                && lastRelease_.timestamp == key->timestamp());
        if (!repeat)
            return false;
        if (type == QEvent::ShortcutOverride) {
            key->accept(); // taken by the focused control: no shortcut runs
            return true;
        }
        return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter
            || key->key() == Qt::Key_Escape;
    }

private:
    struct {
        int key = 0;
        quint64 timestamp = 0;
    } lastRelease_;
};

} // namespace

void installFreshKeysOnly(QObject* owner)
{
    QCoreApplication::instance()->installEventFilter(new FreshKeysOnly(owner));
}

} // namespace ui
