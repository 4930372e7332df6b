#include "platform/windows/system_parameters_mouse_settings.h"

#include <windows.h>

#include <cstdint>

namespace talvoro {
namespace {

// Stored in the user's profile, and WM_SETTINGCHANGE sent so running programs follow.
constexpr UINT kStoreAndAnnounce = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

}  // namespace

std::optional<int> SystemParametersMouseSettings::double_click_ms() const {
    // GetDoubleClickTime cannot fail; 0 would be no time the desktop could have.
    const UINT ms = GetDoubleClickTime();
    if (ms == 0)
        return std::nullopt;
    return static_cast<int>(ms);
}

std::optional<int> SystemParametersMouseSettings::wheel_lines() const {
    UINT lines = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        return std::nullopt;
    if (lines == WHEEL_PAGESCROLL)
        return kWheelPageScroll;
    // A value past int's range is no line count; it reads as the top of the scale, as
    // the level rules want for anything of 12 lines or more.
    return lines > static_cast<UINT>(INT32_MAX) ? INT32_MAX : static_cast<int>(lines);
}

std::optional<int> SystemParametersMouseSettings::pointer_speed() const {
    int speed = 0;
    if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0))
        return std::nullopt;
    return speed;
}

bool SystemParametersMouseSettings::set_double_click_ms(int ms) {
    // Through SystemParametersInfoW rather than SetDoubleClickTime: only this one stores it.
    return valid_double_click_ms(ms) &&
           SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(ms), nullptr,
                                 kStoreAndAnnounce) != 0;
}

bool SystemParametersMouseSettings::set_wheel_lines(int lines) {
    if (!valid_wheel_lines(lines))
        return false;
    const UINT value = lines == kWheelPageScroll ? WHEEL_PAGESCROLL : static_cast<UINT>(lines);
    return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, value, nullptr, kStoreAndAnnounce) != 0;
}

bool SystemParametersMouseSettings::set_pointer_speed(int speed) {
    // The speed travels as the pointer argument's value, not through a pointer. Windows
    // ignores the integer argument here; Wine reads the speed from it, so it carries it too.
    return valid_pointer_speed(speed) &&
           SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                                 reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                                 kStoreAndAnnounce) != 0;
}

}  // namespace talvoro
