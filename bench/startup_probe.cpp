// Starts a program on the X display and measures how long it takes until its window, found by
// its title, is mapped, then how much memory the process holds once it has settled. Watching
// the root window's MapNotify events costs nothing while the program starts, where polling
// with xdotool would take CPU from it and add its own interval to the figure.
//
//   startup_probe TITLE SETTLE_MS PROGRAM [ARGS...]
//
// Prints "MILLISECONDS_TO_MAPPED RESIDENT_KIB CPU_MS_TO_FIRST_FRAME CPU_MS_IN_ALL" and ends the
// program. The CPU time to the first frame is that of all the program's threads when it has
// gone idle after mapping its window (no CPU used for 100 ms): by then it has painted its
// first frame, and what it costs is its own, whatever else runs on the machine. CPU in all is
// the whole run, settling included, as the kernel counts it when the program has ended. Exits 1 when the window
// does not appear within 20 seconds or the program ends first, 2 on bad usage or no display.

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include <dirent.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (reply == nullptr)
        return XCB_ATOM_NONE;
    const xcb_atom_t a = reply->atom;
    std::free(reply);
    return a;
}

std::string property(xcb_connection_t *c, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 1024), nullptr);
    if (reply == nullptr)
        return {};
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply));
    std::string value(static_cast<const char *>(xcb_get_property_value(reply)), length);
    std::free(reply);
    return value;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The CPU time of the process's threads, in nanoseconds, from their schedstat counters.
long long cpuNanos(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR *dir = opendir(tasks.c_str());
    if (dir == nullptr)
        return -1;
    long long sum = 0;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
        long long onCpu = 0;
        if (stat >> onCpu)
            sum += onCpu;
    }
    closedir(dir);
    return sum;
}

// Waits until the process has used no CPU for `quietMs`; its CPU time by then, in ms.
double cpuMsWhenIdle(pid_t pid, int quietMs)
{
    long long last = cpuNanos(pid);
    Clock::time_point lastChange = Clock::now();
    const Clock::time_point deadline = lastChange + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const long long now = cpuNanos(pid);
        if (now != last) {
            last = now;
            lastChange = Clock::now();
        } else if (Clock::now() - lastChange >= std::chrono::milliseconds(quietMs)) {
            break;
        }
    }
    return double(last) / 1e6;
}

// Ends the program; its CPU time in all, in ms.
double end(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_probe TITLE SETTLE_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    const std::string title = argv[1];
    const int settleMs = std::atoi(argv[2]);

    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (const int error = xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_probe: cannot open the display (xcb error %d)\n", error);
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (xcb_generic_error_t *error =
            xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        std::fprintf(stderr, "startup_probe: cannot watch the root window\n");
        return 2;
    }
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8String = atom(c, "UTF8_STRING");
    xcb_flush(c);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("startup_probe: fork");
        return 2;
    }
    if (pid == 0) {
        execv(argv[3], argv + 3);
        std::perror("startup_probe: exec");
        _exit(127);
    }

    const Clock::time_point deadline = start + std::chrono::seconds(20);
    double mappedMs = -1;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (mappedMs < 0 && Clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s ended before its window appeared\n", argv[3]);
            return 1;
        }
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const Clock::time_point mapped = Clock::now();
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t *>(event)->window;
                std::string name = property(c, window, netWmName, utf8String);
                if (name.empty())
                    name = property(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
                if (name == title)
                    mappedMs = std::chrono::duration<double, std::milli>(mapped - start).count();
            }
            std::free(event);
            if (mappedMs >= 0)
                break;
        }
        if (mappedMs < 0)
            poll(&fd, 1, 50);
        if (xcb_connection_has_error(c)) {
            std::fprintf(stderr, "startup_probe: lost the display\n");
            end(pid);
            return 2;
        }
    }
    if (mappedMs < 0) {
        std::fprintf(stderr, "startup_probe: no window '%s' within 20 s\n", title.c_str());
        end(pid);
        return 1;
    }
    const double frameCpuMs = cpuMsWhenIdle(pid, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = residentKiB(pid);
    const double allCpuMs = end(pid);
    xcb_disconnect(c);
    std::printf("%.1f %ld %.2f %.2f\n", mappedMs, rss, frameCpuMs, allCpuMs);
    return 0;
}
