// The program's whole settings image. Its byte layout is also the format of
// the AllProfile, profile (.qxp), macro store and macro (.qxm) files, so every
// structure is packed and every field sits at a fixed offset (checked below).
// Integers are little-endian; texts are NUL-terminated in fixed arrays, in the
// locale's character set (UTF-8 on every current system).
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol.h"

namespace talvoro {

// A profile for each of the mouse's slots, a function for each of its buttons
// and its resolution levels, as the mouse has them.
inline constexpr int kProfileCount = static_cast<int>(protocol::kProfileSlots);
inline constexpr int kButtonCount = static_cast<int>(protocol::kButtons);
inline constexpr int kCpiLevels = static_cast<int>(protocol::kResolutionLevels);
inline constexpr int kCpiValues = static_cast<int>(protocol::kResolutionValues);
inline constexpr int kMacroRecords = 20;  // records in the table and in the files
inline constexpr int kMacroLimit = 15;    // records the program uses; macro numbers 1..15
inline constexpr int kMacroSteps = 256;
inline constexpr size_t kTextField = 256;  // names and version texts
// The double-click, pointer speed, lift-off and angle snapping levels run
// 0..kTopLevel, one per step of their sliders.
inline constexpr int kTopLevel = 10;
// Resolutions of a level's X and Y run from 200 to 8200 cpi in steps of 100.
inline constexpr int32_t kLowestResolution = 200;
inline constexpr int32_t kHighestResolution = 8200;
inline constexpr int32_t kResolutionUnit = 100;

#pragma pack(push, 1)

// One step of a macro: "k" key, "m" mouse, "t" delay.
struct MacroStep {
    char kind[100];
    char text[200];
    char action[100];  // "down" or "up"; empty for "t"
};

struct MacroRecord {
    int32_t number;  // position + 1 once rebuilt from the mouse; 0 for a new macro
    char name[kTextField];
    int32_t step_count;
    MacroStep steps[kMacroSteps];
};

// The macro part of the store, and the whole of a macro file.
struct MacroStore {
    int32_t macro_count;  // records in use, packed at the front
    MacroRecord macros[kMacroRecords];
};

// One profile, and the whole of a profile file.
struct ProfileBlock {
    uint8_t in_use;
    char file_name[kTextField];             // .qxp file last saved to, without folder
    int32_t button_function[kButtonCount];  // ButtonFunction codes
    int32_t button_param[kButtonCount];     // virtual key, or macro number 1..15
    int32_t report_rate_hz;                 // 125, 250, 500, 1000
    int32_t wheel_lines_level;              // 0..11
    int32_t double_click_level;             // 0..10
    int32_t pointer_speed_level;            // 0..10
    int32_t power_save_seconds;             // 0, 60, 120
    int32_t lift_off_level;                 // 0..10
    int32_t angle_snapping_level;           // 0..10
    uint8_t optical_page_shown;             // carried in files; no page writes it
    int32_t optical_cpi[kCpiLevels];
    uint8_t hdst_page_shown;
    int32_t hdst_cpi[kCpiLevels];
    uint8_t laser_page_shown;
    int32_t laser_cpi[kCpiValues];          // level 1 X, level 1 Y, ... level 4 Y
    int8_t angle_tuning;                    // never sent: the mouse always gets 0
    int32_t macro_play_mode[kButtonCount];  // 1..99 times, 241 while pressed, 242 toggle
    uint8_t smoothing;
    uint8_t reserved[1030263];  // kept as loaded, written back unchanged
};

struct ProfileStore {
    int32_t current_profile;  // 1..5; 0 counts as 1
    ProfileBlock profiles[kProfileCount];
    MacroStore macro_store;
    uint8_t led_on;
    char app_version[kTextField];
    char fw_version[kTextField];
};

#pragma pack(pop)

static_assert(sizeof(MacroStep) == 400);
static_assert(offsetof(MacroStep, text) == 100 && offsetof(MacroStep, action) == 300);
static_assert(sizeof(MacroRecord) == 102664);
static_assert(offsetof(MacroRecord, name) == 4 && offsetof(MacroRecord, step_count) == 260 &&
              offsetof(MacroRecord, steps) == 264);
static_assert(sizeof(MacroStore) == 2053284);
static_assert(offsetof(MacroStore, macros) == 4);
static_assert(sizeof(ProfileBlock) == 1030749);
static_assert(offsetof(ProfileBlock, file_name) == 1);
static_assert(offsetof(ProfileBlock, button_function) == 257);
static_assert(offsetof(ProfileBlock, button_param) == 301);
static_assert(offsetof(ProfileBlock, report_rate_hz) == 345);
static_assert(offsetof(ProfileBlock, wheel_lines_level) == 349);
static_assert(offsetof(ProfileBlock, double_click_level) == 353);
static_assert(offsetof(ProfileBlock, pointer_speed_level) == 357);
static_assert(offsetof(ProfileBlock, power_save_seconds) == 361);
static_assert(offsetof(ProfileBlock, lift_off_level) == 365);
static_assert(offsetof(ProfileBlock, angle_snapping_level) == 369);
static_assert(offsetof(ProfileBlock, optical_page_shown) == 373);
static_assert(offsetof(ProfileBlock, optical_cpi) == 374);
static_assert(offsetof(ProfileBlock, hdst_page_shown) == 390);
static_assert(offsetof(ProfileBlock, hdst_cpi) == 391);
static_assert(offsetof(ProfileBlock, laser_page_shown) == 407);
static_assert(offsetof(ProfileBlock, laser_cpi) == 408);
static_assert(offsetof(ProfileBlock, angle_tuning) == 440);
static_assert(offsetof(ProfileBlock, macro_play_mode) == 441);
static_assert(offsetof(ProfileBlock, smoothing) == 485);
static_assert(offsetof(ProfileBlock, reserved) == 486);
static_assert(offsetof(ProfileStore, profiles) == 4);
static_assert(offsetof(ProfileStore, macro_store) == 5153749);
static_assert(offsetof(ProfileStore, led_on) == 7207033);
static_assert(offsetof(ProfileStore, app_version) == 7207034);
static_assert(offsetof(ProfileStore, fw_version) == 7207290);
static_assert(sizeof(ProfileStore) == 7207546);

// The program's version text, stored in every store.
inline constexpr const char* kAppVersion = "V1.40";

}  // namespace talvoro
