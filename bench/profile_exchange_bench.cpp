// The program's exchanges with the mouse and its settings files:
//
//   read_device against the virtual mouse, real waits   fixed waits 1,030 ms
//   apply_all against the virtual mouse, real waits     fixed waits 2,250 ms
//   decode plus encode of five full profiles            target under 1 ms
//     (as full as the mouse holds them: see fill_full_profiles)
//   AllProfile write and read                           target write under 30 ms
//
// Target for both exchange ratios: at most 1.03.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench_timing.h"
#include "device/device_api_binding.h"
#include "device/device_events.h"
#include "device/device_link.h"
#include "device/profile_codec.h"
#include "device/profile_exchange.h"
#include "platform/desktop_settings_backend.h"
#include "store/button_function.h"
#include "store/profile_files.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace {

using namespace talvoro;
using talvoro::bench::Clock;
using talvoro::bench::elapsed_ms;
using talvoro::bench::median;
constexpr int kRounds = 5;

class Notices final : public UserNotices {
  public:
    void show_notice(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "%s", text.c_str());
    }
};

// Profiles as full as the mouse can hold them: every button assigned, ten of
// them to macros that together fill the 178 event records of a profile (16
// key events with their delays each, plus terminators).
void fill_full_profiles(ProfileStore& store) {
    constexpr int kMacroButtons = 10;
    constexpr int kEventsPerMacro = 16;
    for (ProfileBlock& block : store.profiles) {
        block.in_use = 1;
        block.report_rate_hz = 1000;
        for (int k = 0; k < kCpiValues; ++k)
            block.laser_cpi[k] = 400 * (k + 1);
        block.button_function[0] = kLeftClick;
        for (int b = 1; b <= kMacroButtons; ++b) {
            block.button_function[b] = kMacro;
            block.button_param[b] = b;
            block.macro_play_mode[b] = kPlayWhilePressed;
        }
    }
    for (int m = 0; m < kMacroButtons; ++m) {
        MacroRecord& macro = store.macro_store.macros[m];
        std::snprintf(macro.name, sizeof macro.name, "Macro_%d", m + 1);
        macro.step_count = 2 * kEventsPerMacro;
        for (int s = 0; s < macro.step_count; ++s) {
            MacroStep& step = macro.steps[s];
            std::snprintf(step.kind, sizeof step.kind, "%s", s % 2 == 0 ? "k" : "t");
            std::snprintf(step.text, sizeof step.text, "%s", s % 2 == 0 ? " W " : "0.015");
            std::snprintf(step.action, sizeof step.action, "%s", s % 4 == 0 ? "down" : "up");
        }
    }
    store.macro_store.macro_count = kMacroButtons;
}

void report(const char* what, const std::vector<double>& times, double fixed_ms) {
    const double middle = median(times);
    if (fixed_ms > 0) {
        std::printf("%-34s median %9.3f ms  fixed waits %5.0f ms  ratio %.4f\n", what, middle,
                    fixed_ms, middle / fixed_ms);
    } else {
        std::printf("%-34s median %9.3f ms  best %9.3f ms\n", what, middle,
                    *std::min_element(times.begin(), times.end()));
    }
}

}  // namespace

int main() {
    test::TempFolder folder;
    test::ScopedEnv dir("TALVORO_HID_DIR", folder.path());
    test::ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    test::ScopedEnv data("TALVORO_DATA_DIR", folder.path());
    test::ScopedEnv desktop_kind("TALVORO_DESKTOP_SETTINGS", "file");
    test::VirtualMouseProcess mouse(folder.path());

    Notices notices;
    DeviceApiBinding binding;
    if (!binding.bind(notices))
        return 1;
    DeviceLink link(binding.api());
    auto desktop = make_desktop_mouse_settings();
    NoDeviceEvents ui;
    auto store = std::make_unique<ProfileStore>();
    std::memset(store.get(), 0, sizeof(ProfileStore));
    ProfileExchange exchange(*store, link, *desktop, ui);

    std::vector<double> reads, applies;
    for (int round = 0; round < kRounds; ++round) {
        auto start = Clock::now();
        if (exchange.read_device() != 1)
            return 1;
        reads.push_back(elapsed_ms(start));
        start = Clock::now();
        if (exchange.apply_all() != 1)
            return 1;
        applies.push_back(elapsed_ms(start));
    }

    auto full = std::make_unique<ProfileStore>();
    std::memset(full.get(), 0, sizeof(ProfileStore));
    fill_full_profiles(*full);
    auto records = std::make_unique<DeviceRecords>();
    auto decoded = std::make_unique<ProfileStore>(*full);
    std::vector<double> codec;
    for (int round = 0; round < 50; ++round) {
        const auto start = Clock::now();
        encode_profiles(*full, *records);
        decode_profiles(*records, 1, *decoded);
        compact_macros(*decoded);
        codec.push_back(elapsed_ms(start));
    }

    const std::string all_profiles = folder.file("AllProfile");
    std::vector<double> writes, loads;
    for (int round = 0; round < 20; ++round) {
        auto start = Clock::now();
        if (!write_all_profiles(*full, all_profiles))
            return 1;
        writes.push_back(elapsed_ms(start));
        start = Clock::now();
        if (read_all_profiles(*decoded, all_profiles) != 0)
            return 1;
        loads.push_back(elapsed_ms(start));
    }

    std::printf("%d exchange rounds against the virtual mouse\n", kRounds);
    report("read_device", reads, 1030.0);
    report("apply_all", applies, 2250.0);
    report("decode + encode, five full profiles", codec, 0);
    report("AllProfile write (7.2 MB)", writes, 0);
    report("AllProfile read", loads, 0);
    return 0;
}
