#include "cli/store_report.h"

#include <algorithm>
#include <array>

#include "shell/language/macro_step_texts.h"
#include "store/button_function.h"
#include "store/key_table.h"

namespace talvoro {
namespace {

constexpr std::array<const char*, 18> kFunctionNames = {
    "(none)",          "Left Click",       "Right Click",      "Scroll Wheel Click",
    "Browser Forward", "Browser Backward", "Scroll Up",        "Scroll Down",
    "DPI Up",          "DPI Down",         "DPI Level Switch", "Profile Select",
    "Double Click",    "Triple Click",     "Sniper Switch",    "Macro",
    "Single Key",      "Disable"};

// Texts in the store come from files; print at most their field.
template <size_t N>
int field_length(const char (&field)[N]) {
    return static_cast<int>(std::find(field, field + N, '\0') - field);
}

void write_button(const ProfileStore& store, const ProfileBlock& block, int b, std::FILE* out) {
    const int32_t function = block.button_function[b];
    const int32_t param = block.button_param[b];
    const bool known = function >= 0 && function < static_cast<int32_t>(kFunctionNames.size());
    std::fprintf(out, "  button %-2d        %s", b + 1, known ? kFunctionNames[function] : "?");
    if (function == kSingleKey) {
        const KeyRow* key = key_by_virtual_key(param);
        std::fprintf(out, " [%s]", key != nullptr ? key->name : "unknown key");
    } else if (function == kMacro) {
        const int32_t mode = block.macro_play_mode[b];
        std::fprintf(out, " %d", param);
        if (param >= 1 && param <= kMacroLimit) {
            const MacroRecord& macro = store.macro_store.macros[param - 1];
            std::fprintf(out, " \"%.*s\"", field_length(macro.name), macro.name);
        }
        if (mode == kPlayWhilePressed) {
            std::fputs(", while pressed", out);
        } else if (mode == kPlayToggle) {
            std::fputs(", toggle", out);
        } else {
            std::fprintf(out, ", %d time(s)", mode < 1 ? 1 : mode);
        }
    }
    std::fputc('\n', out);
}

}  // namespace

void write_profile_report(const ProfileStore& store, int i, std::FILE* out) {
    const ProfileBlock& block = store.profiles[i];
    std::fprintf(out, "profile %d%s%s\n", i + 1, store.current_profile == i + 1 ? " (current)" : "",
                 block.in_use != 0 ? "" : " (not in use)");
    if (block.file_name[0] != '\0') {
        std::fprintf(out, "  saved as         %.*s\n", field_length(block.file_name),
                     block.file_name);
    }
    std::fprintf(out, "  report rate      %d Hz\n", block.report_rate_hz);
    std::fprintf(out, "  power saving     %d s\n", block.power_save_seconds);
    for (int level = 0; level < kCpiLevels; ++level) {
        std::fprintf(out, "  resolution %d     %d x %d cpi\n", level + 1,
                     block.laser_cpi[2 * level], block.laser_cpi[2 * level + 1]);
    }
    std::fprintf(out, "  lift-off         level %d\n", block.lift_off_level);
    std::fprintf(out, "  angle snapping   level %d\n", block.angle_snapping_level);
    std::fprintf(out, "  smoothing        %s\n", block.smoothing != 0 ? "on" : "off");
    std::fprintf(out, "  desktop          wheel level %d, double-click level %d, speed level %d\n",
                 block.wheel_lines_level, block.double_click_level, block.pointer_speed_level);
    for (int b = 0; b < kButtonCount; ++b)
        write_button(store, block, b, out);
}

void write_macro_report(const ProfileStore& store, int index, std::FILE* out) {
    const MacroRecord& macro = store.macro_store.macros[index];
    std::fprintf(out, "  macro %d \"%.*s\"\n", index + 1, field_length(macro.name), macro.name);
    const int32_t steps = std::clamp<int32_t>(+macro.step_count, 0, kMacroSteps);
    for (int32_t s = 0; s < steps; ++s) {
        if (const auto text = shell::step_display_text(macro.steps[s], 0)) {
            std::fprintf(out, "    %s\n", text->c_str());
        }
    }
}

void write_macro_list(const ProfileStore& store, std::FILE* out) {
    const int32_t count = std::clamp<int32_t>(+store.macro_store.macro_count, 0, kMacroLimit);
    for (int32_t m = 0; m < count; ++m) {
        const MacroRecord& macro = store.macro_store.macros[m];
        std::fprintf(out, "%d \"%.*s\" %d step(s)\n", m + 1, field_length(macro.name), macro.name,
                     std::clamp<int32_t>(+macro.step_count, 0, kMacroSteps));
    }
}

void write_store_report(const ProfileStore& store, std::FILE* out) {
    std::fprintf(out, "firmware %.*s, LEDs %s\n\n", field_length(store.fw_version),
                 store.fw_version, store.led_on != 0 ? "lit" : "dark");
    for (int i = 0; i < kProfileCount; ++i) {
        write_profile_report(store, i, out);
        std::fputc('\n', out);
    }
    const int32_t count = std::clamp<int32_t>(+store.macro_store.macro_count, 0, kMacroLimit);
    std::fprintf(out, "%d macro(s)\n", count);
    for (int32_t m = 0; m < count; ++m)
        write_macro_report(store, m, out);
}

}  // namespace talvoro
