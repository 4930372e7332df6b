// Start-up of the Windows edition under Wine: time from starting talvoro_gui.exe to its first
// frame on the display, against the bare SDL window built for Windows, alternately in one run on
// a private Xvfb and one Wine prefix; then the program's resident memory (the Wine process's).
// Needs the Windows build: the first argument, or TALVORO_WINDOWS_BIN, names its bin/ folder.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_timing.h"
#include "support/linux/wine_session.h"
#include "support/linux/xvfb_display.h"
#include "support/temp_folder.h"

namespace {

using talvoro::bench::Clock;
using talvoro::bench::elapsed_ms;
using talvoro::bench::median;
using talvoro::bench::rss_kib;
using talvoro::test::WineSession;
constexpr int kRuns = 9;

// Starts `program` of the Windows build and waits for the file its first frame creates; the
// milliseconds, or -1 when no frame came within 60 s. The program keeps running.
double until_first_frame(const WineSession& wine, const std::string& program,
                         const std::string& frame_file, pid_t& pid) {
    std::filesystem::remove(frame_file);
    setenv("TALVORO_FRAME_FILE", WineSession::windows_path(frame_file).c_str(), 1);
    const auto start = Clock::now();
    pid = WineSession::start(wine.command(program));
    while (!std::filesystem::exists(frame_file)) {
        if (elapsed_ms(start) > 60000) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return elapsed_ms(start);
}

}  // namespace

int main(int argc, char** argv) {
    const char* bin = argc > 1 ? argv[1] : std::getenv("TALVORO_WINDOWS_BIN");
    if (bin == nullptr) {
        std::fprintf(stderr, "usage: bench_wine_startup WINDOWS_BIN (build-windows/bin)\n");
        return 2;
    }
    talvoro::test::XvfbDisplay xvfb;
    if (xvfb.display().empty()) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    talvoro::test::TempFolder folder;
    std::filesystem::create_directories(folder.path() + "/hid");
    WineSession wine(std::filesystem::absolute(bin).string(), xvfb.display(),
                     folder.path() + "/prefix");
    if (const std::string error = wine.boot(); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    // No mouse, and a data folder of the benchmark's own.
    setenv("TALVORO_HID_DIR", WineSession::windows_path(folder.path() + "/hid").c_str(), 1);
    setenv("TALVORO_HID_BACKENDS", "virtual", 1);
    setenv("TALVORO_DATA_DIR", WineSession::windows_path(folder.path() + "/data").c_str(), 1);

    const std::string frame_file = folder.path() + "/frame";
    std::vector<double> bare;
    std::vector<double> program;
    long rss = -1;
    // One start of each first, unmeasured: Wine maps its own libraries in on first use.
    for (int run = -1; run < kRuns; ++run) {
        pid_t pid = -1;
        const double floor = until_first_frame(wine, "bench_bare_sdl_window", frame_file, pid);
        WineSession::wait(pid, 30000);
        const double gui = until_first_frame(wine, "talvoro_gui", frame_file, pid);
        if (run == kRuns - 1) {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            rss = rss_kib(pid);
        }
        WineSession::kill(pid);
        if (floor < 0 || gui < 0) {
            std::fprintf(stderr, "a run showed no frame within 60 s\n");
            return 1;
        }
        if (run >= 0) {
            bare.push_back(floor);
            program.push_back(gui);
        }
    }
    const double floor_ms = median(bare);
    const double gui_ms = median(program);
    std::printf(
        "first frame under Wine, median of %d: bare SDL window %.1f ms, talvoro_gui.exe %.1f ms, "
        "ratio %.2f\n",
        kRuns, floor_ms, gui_ms, gui_ms / floor_ms);
    std::printf("resident memory of talvoro_gui.exe under Wine after start-up: %.1f MB\n",
                rss / 1024.0);
    return 0;
}
