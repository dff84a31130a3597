// A clipboard manager that keeps the clipboard only when asked to, through the
// freedesktop.org ClipboardManager protocol: it owns CLIPBOARD_MANAGER, and on a request
// for SAVE_TARGETS fetches the owner's TARGETS, then its text through one MULTIPLE
// conversion, as the GNOME and MATE managers do, takes the clipboard over and confirms.
// Unlike managers that copy every change on their own, it shows whether a program that
// ends hands its clipboard over. Prints "ready" once it owns CLIPBOARD_MANAGER. Before
// saving it asks for a target the owner does not offer and prints whether it was refused
// (a None property), as a requestor waiting on an unfilled property would otherwise hang.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

Display* display;
Window window;
Atom clipboard, manager, saveTargets, targets, multiple, atomPair, utf8, savedText, unoffered;

Time serverTime()
{
    XChangeProperty(display, window, savedText, XA_STRING, 8, PropModeAppend, nullptr, 0);
    XEvent event;
    XWindowEvent(display, window, PropertyChangeMask, &event);
    return event.xproperty.time;
}

std::vector<unsigned char> takeProperty(Window from, Atom property, Atom* type, int* format, unsigned long* count)
{
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned char> bytes;
    if (XGetWindowProperty(display, from, property, 0, 1 << 20, True, AnyPropertyType, type, format,
                           count, &after, &data) == Success && data) {
        const unsigned long unit = *format == 32 ? sizeof(long) : static_cast<unsigned long>(*format / 8);
        bytes.assign(data, data + *count * unit);
        XFree(data);
    }
    return bytes;
}

void reply(const XSelectionRequestEvent& request, Atom property)
{
    XEvent event{};
    event.xselection.type = SelectionNotify;
    event.xselection.requestor = request.requestor;
    event.xselection.selection = request.selection;
    event.xselection.target = request.target;
    event.xselection.property = property;
    event.xselection.time = request.time;
    XSendEvent(display, request.requestor, False, NoEventMask, &event);
    XFlush(display);
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

} // namespace

int main()
{
    display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    XSetErrorHandler(ignoreErrors);
    const auto atom = [](const char* name) { return XInternAtom(display, name, False); };
    clipboard = atom("CLIPBOARD");
    manager = atom("CLIPBOARD_MANAGER");
    saveTargets = atom("SAVE_TARGETS");
    targets = atom("TARGETS");
    multiple = atom("MULTIPLE");
    atomPair = atom("ATOM_PAIR");
    utf8 = atom("UTF8_STRING");
    savedText = atom("_SAVED_TEXT");
    unoffered = atom("image/x-zelm-unoffered");
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), -10, -10, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    XSetSelectionOwner(display, manager, window, serverTime());
    if (XGetSelectionOwner(display, manager) != window)
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);

    std::string text;
    bool saving = false;
    XSelectionRequestEvent asked{};
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) {
            const XSelectionRequestEvent& request = event.xselectionrequest;
            const Atom property = request.property == None ? request.target : request.property;
            if (request.selection == manager && request.target == saveTargets && !saving) {
                saving = true;
                asked = request;
                XConvertSelection(display, clipboard, unoffered, unoffered, window, request.time);
            } else if (request.selection == clipboard && request.target == targets) {
                const Atom offered[] = {targets, utf8};
                XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(offered), 2);
                reply(request, property);
            } else if (request.selection == clipboard && request.target == utf8) {
                XChangeProperty(display, request.requestor, property, utf8, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
                reply(request, property);
            } else {
                reply(request, None);
            }
        } else if (event.type == SelectionNotify && saving) {
            const XSelectionEvent& notify = event.xselection;
            Atom type = None;
            int format = 0;
            unsigned long count = 0;
            if (notify.target == unoffered) {
                std::printf("unoffered target %s\n", notify.property == None ? "refused" : "answered");
                std::fflush(stdout);
                XConvertSelection(display, clipboard, targets, targets, window, asked.time);
            } else if (notify.target == targets) {
                const auto list = takeProperty(window, targets, &type, &format, &count);
                const auto* offered = reinterpret_cast<const Atom*>(list.data());
                bool hasText = false;
                for (unsigned long i = 0; i < count && notify.property != None; ++i)
                    hasText = hasText || offered[i] == utf8;
                if (hasText) {
                    const Atom pairs[] = {utf8, savedText};
                    XChangeProperty(display, window, multiple, atomPair, 32, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(pairs), 2);
                    XConvertSelection(display, clipboard, multiple, multiple, window, asked.time);
                    continue;
                }
                reply(asked, None);
                saving = false;
            } else if (notify.target == multiple) {
                takeProperty(window, multiple, &type, &format, &count);
                const auto bytes = takeProperty(window, savedText, &type, &format, &count);
                text.assign(bytes.begin(), bytes.end());
                XSetSelectionOwner(display, clipboard, window, CurrentTime);
                const bool kept = notify.property != None && type == utf8
                    && XGetSelectionOwner(display, clipboard) == window;
                reply(asked, kept ? asked.property : None);
                saving = false;
                std::printf("saved %s\n", kept ? text.c_str() : "nothing");
                std::fflush(stdout);
            }
        }
    }
}
