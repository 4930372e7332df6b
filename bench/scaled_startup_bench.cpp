// What the display scale costs at start-up: talvoro_gui at 100 % and at 200 % (TALVORO_SCALE),
// with no mouse attached, started in turn on an Xvfb of its own large enough for both: the time
// from process start to the first frame on the display, and the resident memory after start-up.
// At 200 % the canvas has four times the pixels and the pictures come from the 2x set.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench_timing.h"
#include "platform/program_paths.h"
#include "program_folders.h"
#include "support/linux/first_frame.h"
#include "support/linux/xvfb_display.h"

namespace {

using talvoro::bench::median;
using talvoro::bench::rss_kib;
using talvoro::test::FirstFrame;
using talvoro::test::start_until_first_frame;
using talvoro::test::stop_program;
constexpr int kRuns = 9;

struct Measured {
    std::vector<double> first_frame_ms;
    long rss_kib = -1;
};

}  // namespace

int main() {
    talvoro::test::XvfbDisplay xvfb(60000, "2400x1600x24");
    if (xvfb.display().empty()) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    setenv("DISPLAY", xvfb.display().c_str(), 1);
    const std::string base = talvoro::bench::use_private_program_folders("/tmp/talvoro-scaled-");

    const std::string gui = talvoro::program_directory() + "talvoro_gui";
    const char* const scales[] = {"1", "2"};
    Measured measured[2];
    // One unmeasured start each first: the page cache then holds both picture sets.
    for (int run = -1; run < kRuns; ++run) {
        for (int s = 0; s < 2; ++s) {
            setenv("TALVORO_SCALE", scales[s], 1);
            const FirstFrame started = start_until_first_frame(gui);
            if (started.ms < 0) {
                std::fprintf(stderr, "no frame within 20 s at scale %s\n", scales[s]);
                return 1;
            }
            if (run == kRuns - 1) {
                // Once the start-up's own work (the not-detected notice) has settled.
                std::this_thread::sleep_for(std::chrono::seconds(2));
                measured[s].rss_kib = rss_kib(started.pid);
            }
            stop_program(started.pid);
            if (run >= 0) {
                measured[s].first_frame_ms.push_back(started.ms);
            }
        }
    }
    const double at_1x = median(measured[0].first_frame_ms);
    const double at_2x = median(measured[1].first_frame_ms);
    std::printf("first frame, median of %d: 100 %% %.1f ms, 200 %% %.1f ms, ratio %.2f\n", kRuns,
                at_1x, at_2x, at_2x / at_1x);
    std::printf("resident memory after start-up: 100 %% %.1f MB, 200 %% %.1f MB\n",
                measured[0].rss_kib / 1024.0, measured[1].rss_kib / 1024.0);

    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
    return 0;
}
