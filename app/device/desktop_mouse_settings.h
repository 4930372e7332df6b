// The desktop's pointer settings that follow a profile, in the units the
// level tables use: double-click time in milliseconds, wheel scroll lines, and
// pointer speed on the 1..20 scale with 10 as the desktop's normal speed.
#pragma once

#include <optional>

namespace talvoro {

// Wheel scrolling by whole pages instead of lines; the bits of 0xFFFFFFFF.
inline constexpr int kWheelPageScroll = -1;

inline constexpr int kMinPointerSpeed = 1;
inline constexpr int kMaxPointerSpeed = 20;
inline constexpr int kMinDoubleClickMs = 1;
inline constexpr int kMaxDoubleClickMs = 5000;
inline constexpr int kMaxWheelLines = 100;

// What a desktop that has never been changed reports.
inline constexpr int kDefaultDoubleClickMs = 500;
inline constexpr int kDefaultWheelLines = 3;
inline constexpr int kDefaultPointerSpeed = 10;

class DesktopMouseSettings {
  public:
    virtual ~DesktopMouseSettings() = default;

    // Nothing when the desktop keeps no such value or it cannot be read.
    virtual std::optional<int> double_click_ms() const = 0;
    virtual std::optional<int> wheel_lines() const = 0;  // or kWheelPageScroll
    virtual std::optional<int> pointer_speed() const = 0;

    // Each write is in effect and stored when it returns. False when the
    // value is out of range (double-click 1..5000 ms, wheel 0..100 lines or
    // kWheelPageScroll, speed 1..20) or could not be stored; the setting then
    // stays as it was.
    [[nodiscard]] virtual bool set_double_click_ms(int ms) = 0;
    [[nodiscard]] virtual bool set_wheel_lines(int lines) = 0;
    [[nodiscard]] virtual bool set_pointer_speed(int speed) = 0;

    // Short name of the backend ("gsettings", "file"), for diagnostics.
    virtual const char* name() const = 0;
};

inline bool valid_double_click_ms(int ms) {
    return ms >= kMinDoubleClickMs && ms <= kMaxDoubleClickMs;
}
inline bool valid_wheel_lines(int lines) {
    return lines == kWheelPageScroll || (lines >= 0 && lines <= kMaxWheelLines);
}
inline bool valid_pointer_speed(int speed) {
    return speed >= kMinPointerSpeed && speed <= kMaxPointerSpeed;
}

}  // namespace talvoro
