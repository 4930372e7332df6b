#include "store/store_defaults.h"

#include <cstdio>
#include <cstring>

#include "store/button_function.h"
#include "store/store_text.h"

namespace talvoro {
namespace {

constexpr int32_t kDefaultCpi[kCpiValues] = {800, 800, 1600, 1600, 3200, 3200, 8200, 8200};

}  // namespace

void format_firmware_version(uint16_t firmware_number, char (&out)[kTextField]) {
    char text[32];
    std::snprintf(text, sizeof text, "V%d.%2.2d", firmware_number / 100, firmware_number % 100);
    copy_text(out, text);
}

void reset_profile_block(ProfileBlock& block) {
    std::memset(&block, 0, sizeof block);
    block.in_use = 1;
    block.report_rate_hz = 125;
    block.wheel_lines_level = 3;
    block.double_click_level = 5;
    block.pointer_speed_level = 5;
    block.power_save_seconds = 0;
    block.lift_off_level = 5;
    block.angle_snapping_level = 5;
    block.angle_tuning = 0;
    block.smoothing = 0;
    for (int i = 0; i < kCpiValues; ++i)
        block.laser_cpi[i] = kDefaultCpi[i];
    for (int b = 0; b < kButtonCount; ++b) {
        block.button_function[b] = kDefaultButtons[b];
        block.button_param[b] = 0;
    }
}

void reset_all_profiles(ProfileStore& store, uint16_t firmware_number) {
    std::memset(&store.profiles, 0, sizeof store.profiles);
    store.current_profile = 1;
    store.led_on = 1;
    format_firmware_version(firmware_number, store.fw_version);
    copy_text(store.app_version, kAppVersion);
    for (ProfileBlock& block : store.profiles)
        reset_profile_block(block);
}

}  // namespace talvoro
