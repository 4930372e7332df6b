// Start-up of talvoro_gui with no mouse attached: time from process start to its first frame on
// the display, against a bare SDL program showing one frame of the same size in the same run;
// then the program's resident memory after start-up and its CPU use while idle for ten seconds.
// Runs under the display in DISPLAY, or starts its own Xvfb when there is none.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
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
#include "support/xvfb_display.h"

namespace {

using talvoro::bench::Clock;
using talvoro::bench::elapsed_ms;
using talvoro::bench::median;
constexpr int kRuns = 11;

struct Child {
    pid_t pid = -1;
    double frame_ms = -1;
};

// Starts `program` with the frame descriptor and waits for its first frame.
Child start_and_wait_for_frame(const std::string& program) {
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    const auto started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        setenv("TALVORO_FRAME_FD", std::to_string(fds[1]).c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    Child child{pid, -1};
    pollfd wait_for{fds[0], POLLIN, 0};
    char line[16];
    if (poll(&wait_for, 1, 20000) == 1 && read(fds[0], line, sizeof line) > 0) {
        child.frame_ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
    }
    close(fds[0]);
    return child;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

long rss_kib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

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

std::string make_folder(const std::string& path) {
    mkdir(path.c_str(), 0700);
    return path;
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
    // No mouse, and a data and runtime folder of the benchmark's own.
    char base_template[] = "/tmp/talvoro-startup-XXXXXX";
    const std::string base = mkdtemp(base_template);
    setenv("TALVORO_HID_DIR", make_folder(base + "/hid").c_str(), 1);
    setenv("TALVORO_HID_BACKENDS", "virtual", 1);
    setenv("TALVORO_DATA_DIR", make_folder(base + "/data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", make_folder(base + "/run").c_str(), 1);

    const std::string bin = talvoro::program_directory();
    std::vector<double> bare;
    std::vector<double> program;
    for (int run = 0; run < kRuns; ++run) {
        Child floor = start_and_wait_for_frame(bin + "bench_bare_sdl_window");
        int status = 0;
        waitpid(floor.pid, &status, 0);
        Child gui = start_and_wait_for_frame(bin + "talvoro_gui");
        stop(gui.pid);
        if (floor.frame_ms < 0 || gui.frame_ms < 0) {
            std::fprintf(stderr, "a run showed no frame within 20 s\n");
            return 1;
        }
        bare.push_back(floor.frame_ms);
        program.push_back(gui.frame_ms);
    }
    const double floor_ms = median(bare);
    const double gui_ms = median(program);
    std::printf(
        "first frame, median of %d: bare SDL window %.1f ms, talvoro_gui %.1f ms, "
        "ratio %.2f (target at most 1.30)\n",
        kRuns, floor_ms, gui_ms, gui_ms / floor_ms);

    // Memory and idle CPU of one more start, left alone.
    Child gui = start_and_wait_for_frame(bin + "talvoro_gui");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long rss = rss_kib(gui.pid);
    const long ticks_before = cpu_ticks(gui.pid);
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const long ticks_after = cpu_ticks(gui.pid);
    stop(gui.pid);
    const double cpu_percent =
        100.0 * static_cast<double>(ticks_after - ticks_before) / sysconf(_SC_CLK_TCK) / 10.0;
    std::printf("resident memory after start-up: %.1f MB (target under 40 MB)\n", rss / 1024.0);
    std::printf("CPU while idle for 10 s: %.2f %% (target under 0.5 %%)\n", cpu_percent);

    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
    return 0;
}
