// zelm_mapwait [--timeout SECONDS] [--settle MILLISECONDS] -- PROGRAM [ARGUMENTS...]
//
// Starts PROGRAM on the X display of $DISPLAY, waits for the first top-level window to be
// mapped, lets the program settle, and prints one line, all times from exec:
//     <ms to the first map> <peak resident memory, kB> <CPU ms used by the map>
//     <ms to the first complete frame> <CPU ms used by the end of the settle time>
// then ends the program. The CPU time, summed over the program's threads, is much less
// disturbed by other load on the machine than the elapsed time; a program that is idle
// once its window is drawn has used the second figure by its first complete frame.
// The first complete frame is the last drawing into the mapped window that the X DAMAGE
// extension reports before the settle time is over: when the user sees the whole window.
// Exit status 0 when a window was seen and drawn into, 1 when the program ended, drew
// nothing or the time ran out first, 2 on a usage or display error.
//
// The display must show nothing else while it runs: any top-level window mapped after
// the start counts, which keeps the helper free of guesses about the program's windows.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long peakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Nanoseconds on a CPU, summed over the threads (first field of each schedstat).
double cpuMilliseconds(pid_t pid)
{
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    double ns = 0;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double running = 0;
        if (schedstat >> running)
            ns += running;
    }
    return ns / 1e6;
}

bool hasEnded(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == pid;
}

void endProgram(pid_t pid)
{
    kill(pid, SIGTERM);
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < deadline) {
        if (hasEnded(pid))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// A window may be gone before its drawing is watched; that error is expected, not fatal.
int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

double millisecondsSince(Clock::time_point start, Clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(t - start).count();
}

int usage()
{
    std::fprintf(stderr, "usage: zelm_mapwait [--timeout SECONDS] [--settle MILLISECONDS] -- "
                         "PROGRAM [ARGUMENTS...]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    double timeoutSeconds = 30;
    long settleMs = 300;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (first + 1 >= argc)
            return usage();
        if (arg == "--timeout")
            timeoutSeconds = std::strtod(argv[++first], nullptr);
        else if (arg == "--settle")
            settleMs = std::strtol(argv[++first], nullptr, 10);
        else
            return usage();
    }
    if (first >= argc)
        return usage();

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zelm_mapwait: cannot open display \"%s\"\n", XDisplayName(nullptr));
        return 2;
    }
    int damageEvent = 0;
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "zelm_mapwait: the display has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreError);
    // Top-level windows are children of the root: their creation and maps arrive as
    // substructure events of the root, whether or not a window manager runs. Drawing is
    // watched from each window's creation, so none done before the map is missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("zelm_mapwait: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("zelm_mapwait: exec");
        _exit(127);
    }

    std::map<Window, Clock::time_point> lastDrawn;
    Window mapped = None;
    Clock::time_point mappedAt;
    double cpuMs = 0;
    // Each event is timed when it is read, and it is read as soon as it arrives.
    const auto readEvents = [&] {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            const auto now = Clock::now();
            if (event.type == CreateNotify) {
                XDamageCreate(display, event.xcreatewindow.window, XDamageReportRawRectangles);
            } else if (event.type == MapNotify && mapped == None) {
                mapped = event.xmap.window;
                mappedAt = now;
                cpuMs = cpuMilliseconds(pid);
            } else if (event.type == damageEvent + XDamageNotify) {
                lastDrawn[reinterpret_cast<const XDamageNotifyEvent&>(event).drawable] = now;
            }
        }
    };
    const auto waitForEvents = [&](Clock::time_point until) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 5)));
    };

    const auto deadline =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutSeconds));
    while (true) {
        readEvents();
        if (mapped != None)
            break;
        if (hasEnded(pid)) {
            std::fprintf(stderr, "zelm_mapwait: %s ended before showing a window\n", argv[first]);
            XCloseDisplay(display);
            return 1;
        }
        if (Clock::now() >= deadline) {
            std::fprintf(stderr, "zelm_mapwait: no window of %s within %g s\n", argv[first],
                         timeoutSeconds);
            endProgram(pid);
            XCloseDisplay(display);
            return 1;
        }
        waitForEvents(deadline);
    }

    const auto settled = mappedAt + std::chrono::milliseconds(settleMs);
    while (Clock::now() < settled) {
        waitForEvents(settled);
        readEvents();
    }
    const long peakKb = peakResidentKb(pid);
    const double settledCpuMs = cpuMilliseconds(pid);
    const bool ended = hasEnded(pid);
    if (!ended)
        endProgram(pid);
    XCloseDisplay(display);

    const auto drawn = lastDrawn.find(mapped);
    if (drawn == lastDrawn.end()) {
        std::fprintf(stderr, "zelm_mapwait: %s drew nothing into its window within %ld ms\n",
                     argv[first], settleMs);
        return 1;
    }
    std::printf("%.1f %ld %.1f %.1f %.1f\n", millisecondsSince(start, mappedAt), peakKb, cpuMs,
                millisecondsSince(start, drawn->second), settledCpuMs);
    if (ended) {
        std::fprintf(stderr, "zelm_mapwait: %s ended right after showing its window\n",
                     argv[first]);
        return 1;
    }
    return 0;
}
