#include "shell/popups/held_keys.h"

namespace talvoro::shell {
namespace {

// The sided code a key is kept by: generic modifiers are the left key.
int kept_code(int key) {
    switch (key) {
        case kVkShift:
            return kVkLeftShift;
        case kVkControl:
            return kVkLeftControl;
        case kVkMenu:
            return kVkLeftMenu;
        default:
            return key;
    }
}

bool valid(int key) {
    return key > 0 && key < 256;
}

}  // namespace

void HeldKeys::press(int key) {
    if (valid(key)) {
        down_.set(static_cast<size_t>(kept_code(key)));
    }
}

void HeldKeys::release(int key) {
    if (valid(key)) {
        down_.reset(static_cast<size_t>(kept_code(key)));
    }
}

bool HeldKeys::held(int key) const {
    switch (key) {
        case kVkShift:
            return down_[kVkLeftShift] || down_[kVkRightShift];
        case kVkControl:
            return down_[kVkLeftControl] || down_[kVkRightControl];
        case kVkMenu:
            return down_[kVkLeftMenu] || down_[kVkRightMenu];
        default:
            return valid(key) && down_[static_cast<size_t>(key)];
    }
}

int HeldKeys::lowest() const {
    for (int key = 1; key < 256; ++key) {
        if (held(key)) {
            return key;
        }
    }
    return 0;
}

}  // namespace talvoro::shell
