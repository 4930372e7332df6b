// Runs every window's posted messages, notifications and timers until all are quiet, as the
// event loop would: popups post to their owner and close themselves, so one pass is not enough.
#pragma once

#include <algorithm>

#include "core/window.h"

namespace talvoro::test {

inline void pump_windows() {
    for (int round = 0; round < 50; ++round) {
        bool busy = false;
        for (ui::CWindowWnd* window : ui::CWindowWnd::live_windows()) {
            // A window's work may have taken another with it.
            const auto live = ui::CWindowWnd::live_windows();
            if (std::find(live.begin(), live.end(), window) != live.end()) {
                busy = window->process_pending() || busy;
            }
        }
        if (!busy) {
            return;
        }
    }
}

}  // namespace talvoro::test
