// Start-up to the main window mapped, taken from the X server's MapNotify event (not by polling the
// window list), and resident memory 2 s later. Runs the program N times and prints each run and the
// medians. Needs an X display without a window manager (Xvfb), where top-level windows are children
// of the root window.
//   qxbench_startup [--runs N] -- program [arguments...]

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 9;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--runs") == 0 && first + 1 < argc)
            runs = std::atoi(argv[++first]);
        else if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: %s [--runs N] -- program [arguments...]\n", argv[0]);
        return 2;
    }

    std::vector<double> mapMs;
    std::vector<double> rssMiB;
    for (int run = 0; run < runs; ++run) {
        xcb_connection_t *x = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(x)) {
            std::fprintf(stderr, "no X display\n");
            return 1;
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
        // A round trip, so the server has the event mask before the program can map anything.
        std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

        const auto start = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[first], nullptr, nullptr, argv + first, environ) != 0) {
            std::fprintf(stderr, "cannot start %s\n", argv[first]);
            return 1;
        }
        double ms = -1;
        while (xcb_generic_event_t *event = xcb_wait_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                                !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
            std::free(event);
            if (mapped) {
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                         .count();
                break;
            }
        }
        xcb_disconnect(x);
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const double rss = residentKiB(pid) / 1024.0;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        std::printf("run %d: mapped after %.1f ms, resident %.1f MiB 2 s later\n", run + 1, ms, rss);
        mapMs.push_back(ms);
        rssMiB.push_back(rss);
    }
    std::printf("%s: median of %d runs: mapped after %.1f ms, resident %.1f MiB\n", argv[first], runs,
                median(mapMs), median(rssMiB));
    return 0;
}
