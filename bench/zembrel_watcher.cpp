// Starts a program on the X display, times the mapping of its first top-level window, presses Return in
// it and times its exit; then checks that it left a whole BMP picture where the caller expects one.
//
//   zembrel_watcher [--timeout SECONDS] [--bmp PATH] [--idle SECONDS] -- PROGRAM [ARG...]
//
// With --idle it leaves the mapped window alone for a moment to settle and then for that many seconds
// before pressing Return, and reports the CPU time the program used meanwhile (in clock ticks, its
// threads included): an idle window should use none. Those seconds count in the round trip.
//
// Prints one line "map_ms=... round_trip_ms=... enter_to_exit_ms=... peak_rss_kib=... bmp=WxH", with
// " idle_ticks=N" after it under --idle, and exits 0; exits 1 when the program misbehaves (no window, no
// exit, a failure status, no picture), 2 when the watcher itself cannot work (usage, no display, no
// XTest, cannot start the program).

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBroken = 1;
constexpr int kCannotWatch = 2;

struct Options
{
    double timeoutSeconds = 30.0;
    std::string bmpPath;
    double idleSeconds = 0.0;
    std::vector<char *> command; // null-terminated for posix_spawnp
};

[[noreturn]] void usage()
{
    std::fputs(
        "usage: zembrel_watcher [--timeout SECONDS] [--bmp PATH] [--idle SECONDS] -- PROGRAM [ARG...]\n",
        stderr);
    std::exit(kCannotWatch);
}

Options parseOptions(int argc, char **argv)
{
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--timeout" && i + 1 < argc) {
            char *end = nullptr;
            options.timeoutSeconds = std::strtod(argv[++i], &end);
            if (*end != '\0' || options.timeoutSeconds <= 0.0)
                usage();
        } else if (arg == "--idle" && i + 1 < argc) {
            char *end = nullptr;
            options.idleSeconds = std::strtod(argv[++i], &end);
            if (*end != '\0' || options.idleSeconds <= 0.0)
                usage();
        } else if (arg == "--bmp" && i + 1 < argc) {
            options.bmpPath = argv[++i];
        } else {
            usage();
        }
    }
    if (i >= argc)
        usage();
    options.command.assign(argv + i, argv + argc);
    options.command.push_back(nullptr);
    return options;
}

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The default Xlib handler ends the process; a window that vanishes between its MapNotify and our
// requests on it is an ordinary race here, so errors are only recorded.
int g_lastXError = 0;
int recordXError(Display *, XErrorEvent *event)
{
    g_lastXError = event->error_code;
    return 0;
}

std::optional<unsigned long> windowPid(Display *display, Window window)
{
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char *data = nullptr;
    std::optional<unsigned long> pid;
    if (XGetWindowProperty(
            display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &count, &remaining, &data)
            == Success
        && data != nullptr && format == 32 && count == 1) {
        unsigned long value = 0;
        std::memcpy(&value, data, sizeof value); // format 32 comes back as a C long
        pid = value;
    }
    if (data != nullptr)
        XFree(data);
    return pid;
}

// Gives the window the keyboard focus and checks that it has it; without a window manager nobody
// else does, and with the default PointerRoot focus the key would go wherever the pointer is.
bool focusWindow(Display *display, Window window)
{
    g_lastXError = 0;
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    Window focused = None;
    int revert = 0;
    XGetInputFocus(display, &focused, &revert); // a round trip: the server has acted on the request
    return g_lastXError == 0 && focused == window;
}

void pressReturn(Display *display)
{
    const KeyCode keyCode = XKeysymToKeycode(display, XK_Return);
    XTestFakeKeyEvent(display, keyCode, True, 0);
    XTestFakeKeyEvent(display, keyCode, False, 0);
    XFlush(display);
}

std::uint32_t littleEndian32(const std::array<unsigned char, 26> &bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8U | std::uint32_t{bytes[at + 2]} << 16U
        | std::uint32_t{bytes[at + 3]} << 24U;
}

// The caller takes the file as soon as the program has gone, so it must be a whole BMP by then:
// the signature, and a size field that matches the file's length.
std::optional<std::string> bmpSummary(const std::string &path, std::string &why)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        why = "no file at " + path;
        return std::nullopt;
    }
    std::array<unsigned char, 26> header{};
    file.read(reinterpret_cast<char *>(header.data()), static_cast<std::streamsize>(header.size()));
    if (file.gcount() != static_cast<std::streamsize>(header.size()) || header[0] != 'B'
        || header[1] != 'M') {
        why = "not a BMP picture: " + path;
        return std::nullopt;
    }
    file.seekg(0, std::ios::end);
    const auto length = static_cast<std::uint64_t>(file.tellg());
    if (littleEndian32(header, 2) != length) {
        why = "BMP size field " + std::to_string(littleEndian32(header, 2)) + " but file has "
            + std::to_string(length) + " bytes: " + path;
        return std::nullopt;
    }
    const auto height = static_cast<std::int32_t>(littleEndian32(header, 22)); // negative when top-down
    return std::to_string(littleEndian32(header, 18)) + "x" + std::to_string(height < 0 ? -height : height);
}

// utime + stime of the whole process from /proc/PID/stat; the command name in field 2 may hold blanks
// and parentheses, so the count starts after its closing one.
std::optional<unsigned long long> cpuTicks(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(file, line))
        return std::nullopt;
    const auto close = line.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14)
            utime = std::stoull(field);
        else if (number == 15)
            stime = std::stoull(field);
    }
    if (!fields)
        return std::nullopt;
    return utime + stime;
}

void sleepFor(double seconds)
{
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::string describeStatus(int status)
{
    if (WIFEXITED(status))
        return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return std::string("signal ") + strsignal(WTERMSIG(status));
    return "status " + std::to_string(status);
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);

    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("zembrel_watcher: cannot open the X display (is DISPLAY set?)\n", stderr);
        return kCannotWatch;
    }
    int xtestEvent = 0, xtestError = 0, xtestMajor = 0, xtestMinor = 0;
    if (!XTestQueryExtension(display, &xtestEvent, &xtestError, &xtestMajor, &xtestMinor)) {
        std::fputs("zembrel_watcher: the X server has no XTest extension\n", stderr);
        return kCannotWatch;
    }
    XSetErrorHandler(recordXError);
    const Window root = XDefaultRootWindow(display);
    // Every top-level window is a child of the root here: there is no window manager to reparent it.
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    // posix_spawn runs the child on our memory until exec, so its peak RSS is the program's alone.
    const Clock::time_point started = Clock::now();
    pid_t pid = 0;
    if (const int error
        = posix_spawnp(&pid, options.command[0], nullptr, nullptr, options.command.data(), environ);
        error != 0) {
        std::fprintf(
            stderr, "zembrel_watcher: cannot start %s: %s\n", options.command[0], std::strerror(error));
        return kCannotWatch;
    }
    // The child is ours and unreaped, so its pid cannot be reused before the pidfd is open.
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidFd < 0) {
        std::fprintf(stderr, "zembrel_watcher: pidfd_open: %s\n", std::strerror(errno));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return kCannotWatch;
    }

    const Clock::time_point deadline = started
        + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.timeoutSeconds));
    std::optional<Clock::time_point> mapped;
    std::optional<Clock::time_point> entered;
    std::optional<unsigned long long> idleTicks;
    Clock::time_point exited;
    bool timedOut = false;

    for (;;) {
        while (!entered && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.event != root || event.xmap.override_redirect)
                continue;
            const Clock::time_point seen = Clock::now();
            const Window window = event.xmap.window;
            if (const auto owner = windowPid(display, window);
                owner && *owner != static_cast<unsigned long>(pid))
                continue;
            if (!mapped) {
                mapped = seen;
                if (options.idleSeconds > 0.0) {
                    sleepFor(0.5); // the first paint and whatever else start-up left in the queue
                    const auto before = cpuTicks(pid);
                    sleepFor(options.idleSeconds);
                    const auto after = cpuTicks(pid);
                    if (before && after)
                        idleTicks = *after - *before;
                }
            }
            // A failure means the window went away again; its next MapNotify gets another try.
            if (focusWindow(display, window)) {
                pressReturn(display);
                entered = Clock::now();
            }
        }

        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        // After Return only the exit matters, so X traffic no longer wakes us.
        std::array<pollfd, 2> fds{{{pidFd, POLLIN, 0}, {XConnectionNumber(display), POLLIN, 0}}};
        const int ready = poll(fds.data(), entered ? 1 : 2, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) {
            std::perror("zembrel_watcher: poll");
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return kCannotWatch;
        }
        if (ready > 0 && (fds[0].revents & POLLIN)) {
            exited = Clock::now();
            break;
        }
    }

    if (timedOut)
        kill(pid, SIGKILL);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) { }
    close(pidFd);
    XCloseDisplay(display);

    if (timedOut) {
        std::fprintf(stderr, "zembrel_watcher: %s; killed after %.1f s\n",
            !mapped        ? "no window"
                : !entered ? "the window never took the keyboard focus"
                           : "Return was pressed but the program did not end",
            options.timeoutSeconds);
        return kBroken;
    }
    if (!entered) {
        std::fprintf(stderr, "zembrel_watcher: the program ended (%s) before Return was pressed\n",
            describeStatus(status).c_str());
        return kBroken;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "zembrel_watcher: the program ended with %s\n", describeStatus(status).c_str());
        return kBroken;
    }
    std::string bmp = "-";
    if (!options.bmpPath.empty()) {
        std::string why;
        const auto summary = bmpSummary(options.bmpPath, why);
        if (!summary) {
            std::fprintf(stderr, "zembrel_watcher: %s\n", why.c_str());
            return kBroken;
        }
        bmp = *summary;
    }
    if (options.idleSeconds > 0.0 && !idleTicks) {
        std::fputs("zembrel_watcher: cannot read the program's CPU time from /proc\n", stderr);
        return kCannotWatch;
    }
    std::printf("map_ms=%.3f round_trip_ms=%.3f enter_to_exit_ms=%.3f peak_rss_kib=%ld bmp=%s",
        msBetween(started, *mapped), msBetween(started, exited), msBetween(*entered, exited), usage.ru_maxrss,
        bmp.c_str());
    if (idleTicks)
        std::printf(" idle_ticks=%llu", *idleTicks);
    std::printf("\n");
    return 0;
}
