// Start-up of talvoro_gui with no mouse attached: time from process start to its first frame on
// the display, against a bare SDL program showing one frame of the same size in the same run;
// then the program's resident memory after start-up and its CPU use while idle for ten seconds.
// Runs under the display in DISPLAY, or starts its own Xvfb when there is none.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
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
constexpr int kRuns = 11;

// User plus system time of the process, in clock ticks.
long cpu_ticks(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const size_t after_name = text.rfind(')');
    if (after_name == std::string::npos) {
        return -1;
    }
    std::istringstream fields(text.substr(after_name + 2));
    std::string field;
    long utime = 0;
    long stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) {
            utime = std::stol(field);
        } else if (index == 15) {
            stime = std::stol(field);
            break;
        }
    }
    return utime + stime;
}

}  // namespace

int main() {
    // A display of our own when there is none.
    std::optional<talvoro::test::XvfbDisplay> xvfb;
    if (std::getenv("DISPLAY") == nullptr) {
        xvfb.emplace();
        if (xvfb->display().empty()) {
            std::fprintf(stderr, "no DISPLAY, and Xvfb could not be started\n");
            return 1;
        }
        setenv("DISPLAY", xvfb->display().c_str(), 1);
    }
    const std::string base = talvoro::bench::use_private_program_folders("/tmp/talvoro-startup-");

    const std::string bin = talvoro::program_directory();
    std::vector<double> bare;
    std::vector<double> program;
    for (int run = 0; run < kRuns; ++run) {
        const FirstFrame floor = start_until_first_frame(bin + "bench_bare_sdl_window");
        int status = 0;
        waitpid(floor.pid, &status, 0);
        const FirstFrame gui = start_until_first_frame(bin + "talvoro_gui");
        stop_program(gui.pid);
        if (floor.ms < 0 || gui.ms < 0) {
            std::fprintf(stderr, "a run showed no frame within 20 s\n");
            return 1;
        }
        bare.push_back(floor.ms);
        program.push_back(gui.ms);
    }
    const double floor_ms = median(bare);
    const double gui_ms = median(program);
    std::printf(
        "first frame, median of %d: bare SDL window %.1f ms, talvoro_gui %.1f ms, "
        "ratio %.2f (target at most 1.30)\n",
        kRuns, floor_ms, gui_ms, gui_ms / floor_ms);

    // Memory and idle CPU of one more start, left alone.
    const FirstFrame gui = start_until_first_frame(bin + "talvoro_gui");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long rss = rss_kib(gui.pid);
    const long ticks_before = cpu_ticks(gui.pid);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const long ticks_after = cpu_ticks(gui.pid);
    stop_program(gui.pid);
    const double cpu_percent =
        100.0 * static_cast<double>(ticks_after - ticks_before) / sysconf(_SC_CLK_TCK) / 10.0;
    std::printf("resident memory after start-up: %.1f MB (target under 40 MB)\n", rss / 1024.0);
    std::printf("CPU while idle for 10 s: %.2f %% (target under 0.5 %%)\n", cpu_percent);

    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
    return 0;
}
