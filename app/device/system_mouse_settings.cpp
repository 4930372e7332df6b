#include "device/system_mouse_settings.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace talvoro {
namespace {

int index_of(const LevelTable& table, int value) {
    auto found = std::find(table.begin(), table.end(), value);
    return found == table.end() ? -1 : static_cast<int>(found - table.begin());
}

int wheel_level(std::optional<int> lines) {
    // Page scrolling (all bits set) and anything past the scale read as the
    // top level; a desktop that reports nothing counts the same.
    if (!lines)
        return kTopLevel;
    const uint32_t count = static_cast<uint32_t>(*lines);
    return static_cast<int>(std::min<uint32_t>(count, kTopLevel));
}

int double_click_level(std::optional<int> ms) {
    // A time between the table's steps reads as the nearest step, the longer on a tie, so a
    // stock desktop's 400 or 500 ms comes back as 450 ms on apply rather than 150 ms. A desktop
    // that reports nothing counts as one past the scale.
    if (!ms)
        return kTopLevel;
    int nearest = 0;
    int64_t nearest_distance = INT64_MAX;
    // The table runs from the longest time down; a tie keeps the earlier, longer one.
    for (size_t i = 0; i < kDoubleClickTimesMs.size(); ++i) {
        const int64_t distance = std::abs(int64_t{*ms} - kDoubleClickTimesMs[i]);
        if (distance < nearest_distance) {
            nearest = static_cast<int>(i);
            nearest_distance = distance;
        }
    }
    return nearest;
}

int pointer_speed_level(std::optional<int> speed) {
    // A speed between the table's steps reads as half of it rounded up; an
    // unreadable speed counts as one past the scale.
    if (!speed)
        return kTopLevel;
    const int index = index_of(kPointerSpeeds, *speed);
    if (index >= 0)
        return index;
    if (*speed <= 0)
        return 0;
    if (*speed >= 2 * kTopLevel)
        return kTopLevel;
    return (*speed + 1) / 2;
}

}  // namespace

void apply_system_settings(const ProfileBlock& block, DesktopMouseSettings& desktop) {
    // Packed fields: copy, never bind.
    const int32_t double_click = block.double_click_level;
    const int32_t wheel = block.wheel_lines_level;
    const int32_t speed = block.pointer_speed_level;

    // Results are ignored on purpose: a refused value keeps the desktop's
    // own, and the remaining settings are still written.
    desktop.set_double_click_ms(kDoubleClickTimesMs[std::clamp(double_click, 0, kTopLevel)]);
    // Levels 1..10 give 1..10 lines; 11 and above stop at 10, 0 and below give 1.
    desktop.set_wheel_lines(kWheelScrollLines[std::clamp(wheel, 1, kTopLevel) - 1]);
    desktop.set_pointer_speed(kPointerSpeeds[std::clamp(speed, 0, kTopLevel)]);
}

void read_system_levels(ProfileBlock& block, const DesktopMouseSettings& desktop) {
    block.wheel_lines_level = wheel_level(desktop.wheel_lines());
    block.double_click_level = double_click_level(desktop.double_click_ms());
    block.pointer_speed_level = pointer_speed_level(desktop.pointer_speed());
}

}  // namespace talvoro
