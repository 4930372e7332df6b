// Functions a mouse button can have, as the store keeps them.
#pragma once

#include <array>
#include <cstdint>

#include "store/profile_store.h"

namespace talvoro {

enum ButtonFunction : int32_t {
    kFunctionNone = 0,
    kLeftClick = 1,
    kRightClick = 2,
    kScrollWheelClick = 3,
    kBrowserForward = 4,
    kBrowserBackward = 5,
    kScrollUp = 6,
    kScrollDown = 7,
    kDpiUp = 8,
    kDpiDown = 9,
    kDpiLevelSwitch = 10,
    kProfileSelect = 11,
    kDoubleClick = 12,
    kTripleClick = 13,
    kSniperSwitch = 14,
    kMacro = 15,      // button_param: macro number 1..15
    kSingleKey = 16,  // button_param: virtual-key code
    kDisable = 17,
};

// Factory function of buttons 1..11.
inline constexpr std::array<int32_t, kButtonCount> kDefaultButtons = {
    kLeftClick,       kRightClick, kScrollWheelClick, kDpiUp,         kDpiDown, kBrowserForward,
    kBrowserBackward, kDisable,    kDisable,          kProfileSelect, kDisable};

// Macro play modes besides "play n times" (1..99).
inline constexpr int32_t kPlayWhilePressed = 241;
inline constexpr int32_t kPlayToggle = 242;

}  // namespace talvoro
