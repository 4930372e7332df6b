// Wall time of whole-profile transfers against a virtual mouse that enforces
// the protocol's waits, as a ratio to those fixed waits: how much the library
// and its transport add on top of what the mouse demands.
//
//   five Read_profile calls                       fixed waits 5 x 2 x 100 ms = 1000 ms
//   five Write_profile calls, Set_current_profile_id  5 x 2 x 60 ms + 300 ms = 900 ms
//
// Target: both ratios at most 1.03.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_timing.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "talvoro_api.h"

namespace {

using talvoro::bench::Clock;
using talvoro::bench::elapsed_ms;
using talvoro::bench::median;
constexpr int kRounds = 5;

void report(const char* what, const std::vector<double>& times, double fixed_ms) {
    const double best = *std::min_element(times.begin(), times.end());
    const double middle = median(times);
    std::printf("%-44s median %8.1f ms  best %8.1f ms  fixed waits %6.0f ms  ratio %.4f\n", what,
                middle, best, fixed_ms, middle / fixed_ms);
}

}  // namespace

int main() {
    talvoro::test::TempFolder folder;
    talvoro::test::ScopedEnv dir("TALVORO_HID_DIR", folder.path());
    talvoro::test::ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    talvoro::test::VirtualMouseProcess mouse(folder.path());

    std::vector<std::unique_ptr<ProfileRecord>> records;
    for (int slot = 0; slot < 5; ++slot) {
        records.push_back(std::make_unique<ProfileRecord>());
        std::memset(records.back().get(), 0, sizeof(ProfileRecord));
    }
    std::vector<double> reads;
    std::vector<double> writes;
    for (int round = 0; round < kRounds; ++round) {
        if (Open_QX_device() != 1) {
            std::fputs("no virtual mouse answered\n", stderr);
            return 1;
        }
        auto start = Clock::now();
        for (int slot = 0; slot < 5; ++slot) {
            if (Read_profile(slot, records[slot].get()) != QX_STATUS_DONE)
                return 1;
        }
        reads.push_back(elapsed_ms(start));

        start = Clock::now();
        for (int slot = 0; slot < 5; ++slot) {
            if (Write_profile(slot, records[slot].get()) != QX_STATUS_DONE)
                return 1;
        }
        if (Set_current_profile_id(round % 5) != QX_STATUS_DONE)
            return 1;
        writes.push_back(elapsed_ms(start));
        Close_QX_device();
    }
    std::printf("%d rounds each\n", kRounds);
    report("5 x Read_profile", reads, 1000.0);
    report("5 x Write_profile + Set_current_profile_id", writes, 900.0);
    return 0;
}
