#include "shell/main_window_lookup.h"

namespace talvoro::shell {

ui::CWindowWnd* find_main_window() {
    for (ui::CWindowWnd* window : ui::CWindowWnd::live_windows()) {
        if (window->window_class_name() == "MSUIMainFrame") {
            return window;
        }
    }
    return nullptr;
}

}  // namespace talvoro::shell
