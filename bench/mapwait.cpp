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
#include <optional>
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

struct Options {
    double timeoutSeconds = 30;
    long settleMs = 300;
    int first = 1; // PROGRAM's index in argv
};

// None on a usage error.
std::optional<Options> readOptions(int argc, char* argv[])
{
    Options options;
    int& first = options.first;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (first + 1 >= argc)
            return std::nullopt;
        if (arg == "--timeout")
            options.timeoutSeconds = std::strtod(argv[++first], nullptr);
        else if (arg == "--settle")
            options.settleMs = std::strtol(argv[++first], nullptr, 10);
        else
            return std::nullopt;
    }
    if (first >= argc)
        return std::nullopt;
    return options;
}

// The display, told to report the top-level windows' creation and maps; null, said why,
// when it cannot.
Display* openWatchedDisplay(int& damageEvent)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "zelm_mapwait: cannot open display \"%s\"\n", XDisplayName(nullptr));
        return nullptr;
    }
    int damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "zelm_mapwait: the display has no DAMAGE extension\n");
        return nullptr;
    }
    XSetErrorHandler(ignoreError);
    // Top-level windows are children of the root: their creation and maps arrive as
    // substructure events of the root, whether or not a window manager runs. Drawing is
    // watched from each window's creation, so none done before the map is missed.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    return display;
}

// The program's process, or -1 when it could not be made.
pid_t startProgram(Display* display, char* program[])
{
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("zelm_mapwait: fork");
        return -1;
    }
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(program[0], program);
        std::perror("zelm_mapwait: exec");
        _exit(127);
    }
    return pid;
}

// What the display told of the program's windows. Each event is timed when it is read,
// and it is read as soon as it arrives.
struct Watch {
    Watch(Display* d, int event, pid_t program) : display(d), damageEvent(event), pid(program) {}

    Display* display;
    int damageEvent;
    pid_t pid;
    std::map<Window, Clock::time_point> lastDrawn;
    Window mapped = None;
    Clock::time_point mappedAt;
    double cpuMs = 0;

    void readEvents()
    {
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
    }

    void waitForEvents(Clock::time_point until) const
    {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, 5)));
    }
};

// Until the first map; false, said why, when the program ended first or the time ran out
// (the program is ended then).
bool waitForMap(Watch& watch, const char* program, Clock::time_point deadline, double timeoutSeconds)
{
    while (true) {
        watch.readEvents();
        if (watch.mapped != None)
            return true;
        if (hasEnded(watch.pid)) {
            std::fprintf(stderr, "zelm_mapwait: %s ended before showing a window\n", program);
            return false;
        }
        if (Clock::now() >= deadline) {
            std::fprintf(stderr, "zelm_mapwait: no window of %s within %g s\n", program,
                         timeoutSeconds);
            endProgram(watch.pid);
            return false;
        }
        watch.waitForEvents(deadline);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    const std::optional<Options> options = readOptions(argc, argv);
    if (!options)
        return usage();
    const char* program = argv[options->first];
    int damageEvent = 0;
    Display* display = openWatchedDisplay(damageEvent);
    if (!display)
        return 2;

    const auto start = Clock::now();
    const pid_t pid = startProgram(display, argv + options->first);
    if (pid < 0)
        return 2;
    Watch watch(display, damageEvent, pid);
    const auto deadline = start + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(options->timeoutSeconds));
    if (!waitForMap(watch, program, deadline, options->timeoutSeconds)) {
        XCloseDisplay(display);
        return 1;
    }

    const auto settled = watch.mappedAt + std::chrono::milliseconds(options->settleMs);
    while (Clock::now() < settled) {
        watch.waitForEvents(settled);
        watch.readEvents();
    }
    const long peakKb = peakResidentKb(pid);
    const double settledCpuMs = cpuMilliseconds(pid);
    const bool ended = hasEnded(pid);
    if (!ended)
        endProgram(pid);
    XCloseDisplay(display);

    const auto drawn = watch.lastDrawn.find(watch.mapped);
    if (drawn == watch.lastDrawn.end()) {
        std::fprintf(stderr, "zelm_mapwait: %s drew nothing into its window within %ld ms\n",
                     program, options->settleMs);
        return 1;
    }
    std::printf("%.1f %ld %.1f %.1f %.1f\n", millisecondsSince(start, watch.mappedAt), peakKb,
                watch.cpuMs, millisecondsSince(start, drawn->second), settledCpuMs);
    if (ended) {
        std::fprintf(stderr, "zelm_mapwait: %s ended right after showing its window\n", program);
        return 1;
    }
    return 0;
}
