// Runs every window's posted messages, notifications and timers until all are quiet, as the
// event loop would: popups post to their owner and close themselves, so one pass is not enough.
#pragma once

#include <string_view>

#include "core/window.h"

namespace talvoro::test {

inline void pump_windows() {
    for (int round = 0; round < 50; ++round) {
        bool busy = false;
        for (ui::CWindowWnd* window : ui::CWindowWnd::live_windows()) {
            // A window's work may have taken another with it.
            if (ui::CWindowWnd::is_live(window)) {
                busy = window->process_pending() || busy;
            }
        }
        if (!busy) {
            return;
        }
    }
}

// Closes every window but those of class `keep` (the main window), then lets them go.
inline void close_windows_except(std::string_view keep) {
    for (ui::CWindowWnd* window : ui::CWindowWnd::live_windows()) {
        if (ui::CWindowWnd::is_live(window) && window->window_class_name() != keep) {
            window->close();
        }
    }
    pump_windows();
}

}  // namespace talvoro::test
