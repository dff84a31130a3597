#include "platform/window_system.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace platform {

std::vector<char*> applicationArguments(int argc, char* argv[])
{
    std::vector<char*> arguments(argv, argv + argc);
    const auto chosen = std::any_of(argv, argv + argc, [](const char* a) {
        return std::string_view(a) == "-platform";
    });
    const char* display = std::getenv("DISPLAY");
    const char* qpa = std::getenv("QT_QPA_PLATFORM");
    if (!chosen && (!qpa || !*qpa) && display && *display) {
        static char option[] = "-platform";
        static char xcb[] = "xcb";
        arguments.insert(arguments.begin() + std::min(argc, 1), {option, xcb});
    }
    arguments.push_back(nullptr);
    return arguments;
}

namespace {

// Qt's connection to the X server, when the windows are X11 ones. The offscreen platform
// offers the same interface for its GLX support, without windows on a server.
xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

// Interns the names in one round trip: every request goes out before the first reply is
// awaited, since each round trip before the map delays the window.
template <std::size_t N>
std::array<xcb_atom_t, N> atoms(xcb_connection_t* connection, const std::array<const char*, N>& names)
{
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t i = 0; i < N; ++i)
        cookies[i] = xcb_intern_atom(connection, 0,
                                     static_cast<std::uint16_t>(std::strlen(names[i])), names[i]);
    std::array<xcb_atom_t, N> result{};
    for (std::size_t i = 0; i < N; ++i) {
        const XcbReply<xcb_intern_atom_reply_t> reply(
            xcb_intern_atom_reply(connection, cookies[i], nullptr), &std::free);
        result[i] = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }
    return result;
}

// Adds the two skip states to what _NET_WM_STATE already holds. The window is not mapped
// yet, so the property itself is what the window manager reads when it maps it; Qt adds
// its own states to the property next, keeping these.
void addSkipStates(xcb_connection_t* connection, xcb_window_t window)
{
    const auto [state, skipTaskBar, skipPager] = atoms<3>(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    if (state == XCB_ATOM_NONE)
        return;
    std::vector<xcb_atom_t> states;
    const XcbReply<xcb_get_property_reply_t> current(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 1024), nullptr),
        &std::free);
    if (current && current->type == XCB_ATOM_ATOM && current->format == 32) {
        const auto* held = static_cast<const xcb_atom_t*>(xcb_get_property_value(current.get()));
        states.assign(held, held + xcb_get_property_value_length(current.get()) / 4);
    }
    for (const xcb_atom_t skip : {skipTaskBar, skipPager}) {
        if (skip != XCB_ATOM_NONE && std::find(states.begin(), states.end(), skip) == states.end())
            states.push_back(skip);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
    xcb_flush(connection);
}

// A window manager drops _NET_WM_STATE when a window is withdrawn, so the states are set
// again before each map. Qt sends a widget its show event before it maps the window.
class SkipTaskBar final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            auto* window = static_cast<QWidget*>(watched);
            if (xcb_connection_t* connection = x11Connection())
                addSkipStates(connection, static_cast<xcb_window_t>(window->winId()));
        }
        return false;
    }
};

} // namespace

void keepOutOfTaskBar(QWidget* window)
{
    if (!x11Connection())
        return;
    window->installEventFilter(new SkipTaskBar(window));
}

} // namespace platform
