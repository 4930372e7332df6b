// The stops Tab visits in a window, for the focus-order tests of pages and popups.
#pragma once

#include <string>
#include <vector>

#include "core/key_codes.h"
#include "core/window.h"

namespace talvoro::test {

// The name of the control that has the window's keys; empty for none.
inline std::string focused_name(ui::CWindowWnd& window) {
    const ui::CControlUI* focus = window.manager().focus();
    return focus != nullptr ? focus->name() : std::string();
}

// The names Tab stops at in `window`, once round from the first it reaches.
inline std::vector<std::string> tab_round(ui::CWindowWnd& window) {
    const auto tab = [&] { window.send_message(ui::WindowMessage::kKeyDown, ui::kKeyTab); };
    std::vector<std::string> names;
    tab();
    const std::string first = focused_name(window);
    do {
        names.push_back(focused_name(window));
        tab();
    } while (focused_name(window) != first && names.size() < 200);
    return names;
}

}  // namespace talvoro::test
