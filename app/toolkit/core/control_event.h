// Input and timer events the paint manager hands to one control.
#pragma once
#include <cstdint>
#include <string>

#include "core/key_codes.h"
#include "render/rect.h"

namespace talvoro::ui {

enum class EventType {
    kMouseMove,
    kMouseEnter,
    kMouseLeave,
    kButtonDown,
    kButtonUp,
    kKeyDown,
    kTextInput,
    kTimer,
    kSetFocus,
    kKillFocus,
    kScrollWheel,
};

struct ControlEvent {
    EventType type = EventType::kMouseMove;
    Point point;             // window coordinates, for mouse events
    uintptr_t wparam = 0;    // the timer id for kTimer
    int key = 0;             // for kKeyDown
    KeyModifiers modifiers;  // held with the key, for kKeyDown
    std::string text;        // UTF-8, for kTextInput
    int notches = 0;         // for kScrollWheel, positive when the wheel turned away from the user
    bool handled = false;    // set by a control that took a kScrollWheel, so its parents do not
};

}  // namespace talvoro::ui
