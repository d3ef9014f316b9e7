// Measures how long programs take from launch to their first window mapped on the X display
// named by DISPLAY, then to the first paint in that window (its middle pixel no longer the
// black of a fresh window), and their peak memory by then, runs alternating between them.
//   tallivo_startup_bench RUNS PROGRAM [PROGRAM ...]
// Prints the median of each and, for two programs, the ratio of the first to the second.

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Launch {
    double mapped = 0.0;  // seconds to the first window mapped
    double painted = 0.0; // seconds to the first paint in it
    long peakKilobytes = 0;
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Returns the colour of the middle pixel of window, or 0 (black) when it cannot be read.
std::uint32_t MiddlePixel(xcb_connection_t* connection, xcb_window_t window) {
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr),
        &std::free);
    if (!geometry) {
        return 0;
    }
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window,
                                          std::int16_t(geometry->width / 2),
                                          std::int16_t(geometry->height / 2), 1, 1, ~0U),
                            nullptr),
        &std::free);
    if (!image || xcb_get_image_data_length(image.get()) < 4) {
        return 0;
    }
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, xcb_get_image_data(image.get()), 4);
    return pixel & 0xFFFFFF;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts program, waits for its first ordinary window to be mapped, ends it.
Launch Measure(xcb_connection_t* connection, const char* program) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(program, program, static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    Launch launch;
    xcb_window_t window = XCB_NONE;
    for (;;) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(
            xcb_wait_for_event(connection), &std::free);
        if (!event) {
            std::fprintf(stderr, "tallivo_startup_bench: the X connection closed\n");
            std::exit(1);
        }
        const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && !map->override_redirect) {
            window = map->window;
            break;
        }
    }
    launch.mapped = SecondsSince(start);
    while (MiddlePixel(connection, window) == 0 && SecondsSince(start) < 10.0) {
        ::usleep(200);
    }
    launch.painted = SecondsSince(start);
    ::kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    launch.peakKilobytes = usage.ru_maxrss;
    return launch;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tallivo_startup_bench RUNS PROGRAM [PROGRAM ...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "tallivo_startup_bench: no X display (set DISPLAY)\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const int programs = argc - 2;
    std::vector<std::vector<double>> mapped(programs);
    std::vector<std::vector<double>> painted(programs);
    std::vector<std::vector<double>> memory(programs);
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            const Launch launch = Measure(connection, argv[2 + p]);
            mapped[p].push_back(launch.mapped);
            painted[p].push_back(launch.painted);
            memory[p].push_back(double(launch.peakKilobytes));
        }
    }
    for (int p = 0; p < programs; ++p) {
        std::printf("%s: %.1f ms to the first window, %.1f ms to its first paint, %.1f MB peak "
                    "(medians of %d)\n",
                    argv[2 + p], Median(mapped[p]) * 1000.0, Median(painted[p]) * 1000.0,
                    Median(memory[p]) / 1024.0, runs);
    }
    if (programs == 2) {
        std::printf("first window time ratio: %.2f\n", Median(mapped[0]) / Median(mapped[1]));
        std::printf("first paint time ratio: %.2f\n", Median(painted[0]) / Median(painted[1]));
    }
    xcb_disconnect(connection);
    return 0;
}
