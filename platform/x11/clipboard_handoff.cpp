// X11: the clipboard is served by the program that copied, so before an immediate end
// the text is handed to the desktop's clipboard manager.
#include "platform/clipboard_handoff.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScopeGuard>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace platform {

namespace {

struct Atoms {
    Atom clipboard, manager, saveTargets, targets, multiple, atomPair, timestamp, utf8, textPlainUtf8,
        text, property;
};

Atoms internAtoms(Display* display)
{
    const auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
    return {atom("CLIPBOARD"), atom("CLIPBOARD_MANAGER"), atom("SAVE_TARGETS"), atom("TARGETS"),
            atom("MULTIPLE"), atom("ATOM_PAIR"), atom("TIMESTAMP"), atom("UTF8_STRING"),
            atom("text/plain;charset=utf-8"), atom("TEXT"), atom("_ZELM_CLIPBOARD")};
}

// The text in the forms a pasting program asks for.
struct Offer {
    QByteArray utf8;
    QByteArray latin1; // empty when the text has characters outside Latin-1
    Time since = CurrentTime;
};

// Writes the conversion of one target into the requestor's property; false for a target
// not offered.
bool convert(Display* display, const Atoms& a, const Offer& offer, Window requestor, Atom target,
             Atom property)
{
    const auto put = [&](Atom type, int format, const void* data, int count) {
        XChangeProperty(display, requestor, property, type, format, PropModeReplace,
                        static_cast<const unsigned char*>(data), count);
        return true;
    };
    if (target == a.targets) {
        std::vector<Atom> offered{a.targets, a.multiple, a.timestamp, a.utf8, a.textPlainUtf8, a.text};
        if (!offer.latin1.isEmpty())
            offered.push_back(XA_STRING);
        return put(XA_ATOM, 32, offered.data(), static_cast<int>(offered.size()));
    }
    if (target == a.timestamp) {
        const long since = static_cast<long>(offer.since);
        return put(XA_INTEGER, 32, &since, 1);
    }
    if (target == a.utf8 || target == a.textPlainUtf8 || target == a.text)
        return put(target == a.textPlainUtf8 ? target : a.utf8, 8, offer.utf8.constData(),
                   static_cast<int>(offer.utf8.size()));
    if (target == XA_STRING && !offer.latin1.isEmpty())
        return put(XA_STRING, 8, offer.latin1.constData(), static_cast<int>(offer.latin1.size()));
    return false;
}

// MULTIPLE: the requestor's property lists (target, property) pairs; a pair that cannot be
// converted gets None as its property.
bool convertMultiple(Display* display, const Atoms& a, const Offer& offer, Window requestor,
                     Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, requestor, property, 0, 1024, False, AnyPropertyType, &type, &format,
                           &count, &after, &data) != Success
        || format != 32 || count % 2 != 0) {
        if (data)
            XFree(data);
        return false;
    }
    std::vector<Atom> pairs(reinterpret_cast<Atom*>(data), reinterpret_cast<Atom*>(data) + count);
    XFree(data);
    for (std::size_t i = 0; i < pairs.size(); i += 2)
        if (pairs[i] == a.multiple || !convert(display, a, offer, requestor, pairs[i], pairs[i + 1]))
            pairs[i + 1] = None;
    XChangeProperty(display, requestor, property, a.atomPair, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs.data()), static_cast<int>(pairs.size()));
    return true;
}

void serve(Display* display, const Atoms& a, const Offer& offer, Window owner,
           const XSelectionRequestEvent& request)
{
    // Obsolete requestors name no property: the target then serves as one.
    const Atom property = request.property == None ? request.target : request.property;
    bool served = false;
    if (request.selection == a.clipboard && request.owner == owner) {
        served = request.target == a.multiple
            ? convertMultiple(display, a, offer, request.requestor, property)
            : convert(display, a, offer, request.requestor, request.target, property);
    }
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = display;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.property = served ? property : None;
    reply.xselection.time = request.time;
    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
    XFlush(display);
}

// A requestor may vanish while it is served; its errors must not end the hand-off.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// Offers text as the CLIPBOARD selection from an X connection and a window of its own,
// so nothing of the program's windows runs, asks the clipboard manager to save it, and
// serves the manager's requests until it has saved or `patience` has passed. Does
// nothing without an X display or a clipboard manager. Says whether the manager confirmed
// that it saved; a manager that fetched the text without confirming ends the wait too.
bool handClipboardTextToManager(const QString& text, std::chrono::milliseconds patience)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const auto closeDisplay = qScopeGuard([display] { XCloseDisplay(display); });
    XSetErrorHandler(ignoreErrors);
    const Atoms a = internAtoms(display);
    if (XGetSelectionOwner(display, a.manager) == None)
        return false;

    Offer offer;
    offer.utf8 = text.toUtf8();
    if (QString::fromLatin1(text.toLatin1()) == text)
        offer.latin1 = text.toLatin1();
    // A field's text is short; a text beyond one request would need the INCR protocol.
    if (offer.utf8.size() + offer.latin1.size() > static_cast<qsizetype>(XMaxRequestSize(display)) * 4 - 1024)
        return false;

    const Window owner = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    // The ownership needs a time of the server's: that of a change to our own window.
    XSelectInput(display, owner, PropertyChangeMask);
    XChangeProperty(display, owner, a.property, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(display, owner, PropertyChangeMask, &event);
    offer.since = event.xproperty.time;
    XSetSelectionOwner(display, a.clipboard, owner, offer.since);
    if (XGetSelectionOwner(display, a.clipboard) != owner)
        return false;

    // No list of targets in the property: the manager saves every target offered.
    XDeleteProperty(display, owner, a.property);
    XConvertSelection(display, a.manager, a.saveTargets, a.property, owner, offer.since);
    XFlush(display);

    // Some managers copy the clipboard on their own and never answer SAVE_TARGETS: once
    // the text has been fetched, a pause in the requests ends the wait as well.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + patience;
    constexpr auto quiet = std::chrono::milliseconds(500);
    std::optional<Clock::time_point> lastServed;
    for (;;) {
        while (XPending(display) == 0) {
            const auto end = lastServed ? std::min(deadline, *lastServed + quiet) : deadline;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
            if (left.count() <= 0)
                return false;
            pollfd connection{ConnectionNumber(display), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(left.count()));
        }
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            serve(display, a, offer, owner, event.xselectionrequest);
            lastServed = Clock::now();
        } else if (event.type == SelectionNotify && event.xselection.selection == a.manager) {
            return event.xselection.property != None;
        }
    }
}

} // namespace

void keepClipboardAfterEnd()
{
    // Only Qt's own record of the clipboard is read; the hand-off has a connection of its
    // own, so no event of the window runs.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* copied = clipboard->ownsClipboard() ? clipboard->mimeData() : nullptr;
    if (copied && copied->hasText())
        handClipboardTextToManager(copied->text(), std::chrono::seconds(3));
}

} // namespace platform
