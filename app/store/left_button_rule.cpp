#include "store/left_button_rule.h"

#include "store/button_function.h"

namespace talvoro {

bool holds_left_click(const ProfileBlock& profile) {
    for (int b = 0; b < kButtonCount; ++b) {
        if (profile.button_function[b] == kLeftClick)
            return true;
    }
    return false;
}

bool is_last_left_click(const ProfileBlock& profile, int button) {
    if (button < 0 || button >= kButtonCount || profile.button_function[button] != kLeftClick)
        return false;
    for (int other = 0; other < kButtonCount; ++other) {
        if (other != button && profile.button_function[other] == kLeftClick)
            return false;
    }
    return true;
}

}  // namespace talvoro
