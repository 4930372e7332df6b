// The steps of a macro as the store holds them: the kinds of step the page lists (and their
// icons), the English mouse labels a mouse step's text stores, and which steps are listed.
#pragma once

#include <array>

#include "store/profile_store.h"

namespace talvoro {

// The kinds of step the recorder and the page add; also the row icon.
enum MacroRowKind : int {
    kRowDelay = 0,         // "t"
    kRowKeyDown = 1,       // "k" "down"
    kRowKeyUp = 2,         // "k" "up"
    kRowMousePress = 3,    // "m" "down"
    kRowMouseRelease = 4,  // "m" "up"
    kRowWheelDown = 5,     // "m" "down"
    kRowWheelUp = 6,       // "m" "up"
};

// Mouse actions of the recorder and of the insert-mouse-step menu.
enum MouseAction : int {
    kMouseLeftClick,
    kMouseRightClick,
    kMouseWheelClick,
    kMouseBrowserForward,
    kMouseBrowserBackward,
    kMouseWheelUp,
    kMouseWheelDown,
    kMouseActionCount,
};

// The text a mouse step stores for each action: file content, so exactly 18 characters, blanks
// included, whatever language the program shows.
inline constexpr std::array<const char*, kMouseActionCount> kStoredMouseLabels = {
    "Left Click        ", "Right Click       ", "Scroll Wheel Click", "Browser Forward   ",
    "Browser Backward  ", "Scroll Wheel Up   ", "Scroll Wheel Down "};

// The stored label of `action`; "" for anything that is no action.
const char* stored_mouse_label(int action);

// Whether the step list shows the step: delays always, key and mouse steps when they press or
// release.
bool is_listed_step(const MacroStep& step);
// The row kind (icon) of a step.
MacroRowKind step_row_kind(const MacroStep& step);

}  // namespace talvoro
