// The desktop pointer settings of Windows itself: read and written through
// SystemParametersInfoW and GetDoubleClickTime, stored in the user's profile and announced to
// every window on each write.
#pragma once

#include <optional>

#include "device/desktop_mouse_settings.h"

namespace talvoro {

class SystemParametersMouseSettings final : public DesktopMouseSettings {
  public:
    std::optional<int> double_click_ms() const override;
    std::optional<int> wheel_lines() const override;  // WHEEL_PAGESCROLL as kWheelPageScroll
    std::optional<int> pointer_speed() const override;
    bool set_double_click_ms(int ms) override;
    bool set_wheel_lines(int lines) override;
    bool set_pointer_speed(int speed) override;
    const char* name() const override { return "windows"; }
};

}  // namespace talvoro
