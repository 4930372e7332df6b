// talvoro_cli changing one setting against the virtual mouse with the protocol's real waits,
// beside a whole apply of the same store, as a user's shell runs them (process start included):
//
//   set N rate HZ      read the five profiles (fixed waits 1,030 ms), then write the one that
//                      changed (430 ms: its chunks' waits and 250 ms after) fixed waits 1,460 ms
//   apply FILE         write all five and select the current one           fixed waits 2,250 ms
//
// A set must read before it writes, so it saves less than the four profiles it does not send.
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace {

using namespace talvoro;
using talvoro::bench::Clock;
using talvoro::bench::elapsed_ms;
using talvoro::bench::median;
constexpr int kRounds = 5;

double timed(const std::vector<std::string>& args) {
    const auto start = Clock::now();
    const test::ProgramResult run = test::run_program(test::built_program("talvoro_cli"), args, 60);
    const double ms = elapsed_ms(start);
    if (run.exit_status != 0) {
        std::fprintf(stderr, "talvoro_cli failed: %s", run.err.c_str());
        return -1;
    }
    return ms;
}

void report(const char* what, const std::vector<double>& times, double fixed_waits) {
    const double middle = median(times);
    std::printf("%-28s median %8.1f ms  fixed waits %5.0f ms  ratio %.3f\n", what, middle,
                fixed_waits, middle / fixed_waits);
}

}  // namespace

int main() {
    test::TempFolder folder;
    test::ScopedEnv dir("TALVORO_HID_DIR", folder.path());
    test::ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    test::ScopedEnv data("TALVORO_DATA_DIR", folder.path());
    test::ScopedEnv desktop_kind("TALVORO_DESKTOP_SETTINGS", "file");
    test::VirtualMouseProcess mouse(folder.path());
    const std::string saved = folder.file("saved.all");
    if (timed({"read", saved}) < 0) {
        return 1;
    }
    std::vector<double> sets;
    std::vector<double> applies;
    for (int round = 0; round < kRounds; ++round) {
        // A new value every round, so every set writes its profile.
        sets.push_back(timed({"set", "1", "rate", round % 2 == 0 ? "500" : "1000"}));
        applies.push_back(timed({"apply", saved}));
    }
    for (const std::vector<double>* times : {&sets, &applies}) {
        for (double ms : *times) {
            if (ms < 0) {
                return 1;
            }
        }
    }
    std::printf("%d rounds against the virtual mouse, real waits\n", kRounds);
    report("set 1 rate (one profile)", sets, 1460);
    report("apply FILE (five profiles)", applies, 2250);
    return 0;
}
