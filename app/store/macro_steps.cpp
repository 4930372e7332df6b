#include "store/macro_steps.h"

#include <string_view>

#include "store/store_text.h"

namespace talvoro {

const char* stored_mouse_label(int action) {
    if (action < 0 || action >= kMouseActionCount)
        return "";
    return kStoredMouseLabels[static_cast<size_t>(action)];
}

bool is_listed_step(const MacroStep& step) {
    const std::string_view kind = field_text(step.kind);
    const std::string_view action = field_text(step.action);
    return kind == "t" || ((kind == "k" || kind == "m") && (action == "down" || action == "up"));
}

MacroRowKind step_row_kind(const MacroStep& step) {
    const std::string_view kind = field_text(step.kind);
    const std::string_view text = field_text(step.text);
    const bool down = field_text(step.action) == "down";
    if (kind == "k")
        return down ? kRowKeyDown : kRowKeyUp;
    if (kind == "m") {
        if (down && text.starts_with("Scroll Wheel Down"))
            return kRowWheelDown;
        if (!down && text.starts_with("Scroll Wheel Up"))
            return kRowWheelUp;
        return down ? kRowMousePress : kRowMouseRelease;
    }
    return kRowDelay;
}

}  // namespace talvoro
