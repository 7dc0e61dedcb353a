// Starts a program on the X display named by DISPLAY and reports how long it took to map its first top-level
// window, and its peak resident memory.
//
//   map_watch [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]
//
// Prints one line:  map_ms=<float> cpu_ms=<float> hwm_kib=<int> rss_at_map_kib=<int> rss_kib=<int>
//
// The clock starts just before fork() and stops when the MapNotify event for the program's window arrives: the
// watcher listens for SubstructureNotify on the root window, so the X server itself tells us, with no polling
// delay. Windows that a window manager would never see (override-redirect: menus, tooltips, drag icons) and
// windows of other clients are skipped.
//
// cpu_ms is the processor time all the program's threads had used when the window mapped. Unlike map_ms it
// hardly moves when other work competes for the processors, so it shows what the program itself spends.
//
// VmHWM is a high-water mark, so a single read at the end of the settle period gives the peak over the launch,
// the first paint that follows the map, and the settle time itself; VmRSS read then (rss_kib) is what the program
// still holds once started. The program is then killed.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

namespace {

struct Options {
    int SettleMs = 500;
    int TimeoutMs = 20000;
    char** Command = nullptr;
};

[[noreturn]] void Usage() {
    std::fprintf(stderr, "usage: map_watch [--settle MS] [--timeout MS] -- PROGRAM [ARGS...]\n");
    std::exit(2);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (i + 1 >= argc) Usage();
        if (arg == "--settle") {
            options.SettleMs = std::atoi(argv[++i]);
        } else if (arg == "--timeout") {
            options.TimeoutMs = std::atoi(argv[++i]);
        } else {
            Usage();
        }
    }
    if (i >= argc) Usage();
    options.Command = argv + i;
    return options;
}

double NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// One field of /proc/<pid>/status in KiB, or -1 when the process or the field is gone.
long StatusKib(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    }
    return -1;
}

// Processor time used so far by the whole of pid, threads that have already ended included (a sum over the live
// threads in /proc would miss those), from the process's CPU-time clock (nanoseconds).
double CpuMs(pid_t pid) {
    clockid_t clock = 0;
    timespec used{};
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &used) != 0) return -1;
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6;
}

struct XcbDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbDeleter>;

xcb_atom_t InternAtom(xcb_connection_t* c, const char* name) {
    XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The _NET_WM_PID a client put on its window, if any.
std::optional<std::uint32_t> WindowPid(xcb_connection_t* c, xcb_window_t window, xcb_atom_t pidAtom) {
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4) return std::nullopt;
    std::uint32_t pid = 0;
    std::memcpy(&pid, xcb_get_property_value(reply.get()), sizeof pid);
    return pid;
}

// A clean signal-free way to learn that the child died while we wait for its window.
int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// Waits for the first MapNotify of a top-level, non-override-redirect window owned by pid. Returns the time it
// arrived, or nullopt when the child exited or the timeout passed first.
std::optional<double> WaitForMap(xcb_connection_t* c, pid_t pid, double deadline) {
    const xcb_atom_t pidAtom = InternAtom(c, "_NET_WM_PID");
    const int pidFd = OpenPidFd(pid);
    pollfd fds[2] = {{xcb_get_file_descriptor(c), POLLIN, 0}, {pidFd, POLLIN, 0}};
    const nfds_t nfds = pidFd >= 0 ? 2 : 1;
    std::optional<double> mappedAt;
    while (!mappedAt) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
            const double arrived = NowMs();
            std::unique_ptr<xcb_generic_event_t, XcbDeleter> event(raw);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->override_redirect) continue;
            // Qt names its process on every top-level window; a window without the property is taken as ours,
            // since the watcher's private server has no other clients.
            const std::optional<std::uint32_t> owner = WindowPid(c, map->window, pidAtom);
            if (owner && *owner != static_cast<std::uint32_t>(pid)) continue;
            mappedAt = arrived;
            break;
        }
        if (mappedAt) break;
        if (xcb_connection_has_error(c)) return std::nullopt;
        const double left = deadline - NowMs();
        if (left <= 0) return std::nullopt;
        // Without a pidfd, wake now and then to notice a child that died before mapping anything.
        const int wait = pidFd >= 0 ? static_cast<int>(left) + 1 : 50;
        if (poll(fds, nfds, wait) < 0 && errno != EINTR) return std::nullopt;
        if (nfds == 2 && (fds[1].revents & POLLIN)) return std::nullopt;
        if (nfds == 1 && waitpid(pid, nullptr, WNOHANG) == pid) return std::nullopt;
    }
    if (pidFd >= 0) close(pidFd);
    return mappedAt;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);

    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "map_watch: cannot open the X display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so the server has the selection in place before the program can map anything.
    if (xcb_generic_error_t* error =
            xcb_request_check(c, xcb_change_window_attributes_checked(c, screen->root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        std::fprintf(stderr, "map_watch: cannot watch the root window\n");
        return 2;
    }

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("map_watch: fork");
        return 2;
    }
    if (pid == 0) {
        close(xcb_get_file_descriptor(c));
        execvp(options.Command[0], options.Command);
        std::perror("map_watch: exec");
        _exit(127);
    }

    const std::optional<double> mappedAt = WaitForMap(c, pid, start + options.TimeoutMs);
    if (!mappedAt) {
        int status = 0;
        const bool exited = waitpid(pid, &status, WNOHANG) == pid;
        if (!exited) Stop(pid);
        std::fprintf(stderr, "map_watch: %s never mapped a window%s\n", options.Command[0],
                     exited ? " (it exited)" : " (timed out)");
        xcb_disconnect(c);
        return 1;
    }
    const double cpuAtMap = CpuMs(pid);
    const long rssAtMap = StatusKib(pid, "VmRSS");
    usleep(static_cast<useconds_t>(options.SettleMs) * 1000);
    const long hwm = StatusKib(pid, "VmHWM");
    const long held = StatusKib(pid, "VmRSS");
    Stop(pid);
    xcb_disconnect(c);

    std::printf("map_ms=%.2f cpu_ms=%.2f hwm_kib=%ld rss_at_map_kib=%ld rss_kib=%ld\n", *mappedAt - start, cpuAtMap,
                hwm, rssAtMap, held);
    return hwm < 0 ? 1 : 0;
}
