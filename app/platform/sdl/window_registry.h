// The toolkit windows that have an SDL window, by SDL window id. UI thread only.
#pragma once
#include <cstdint>
#include <vector>

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform::sdl {

void register_window(uint32_t sdl_window_id, ui::CWindowWnd* window);
void unregister_window(uint32_t sdl_window_id);
ui::CWindowWnd* find_window(uint32_t sdl_window_id);
// A copy, so windows may come and go while the caller walks it.
std::vector<ui::CWindowWnd*> registered_windows();

}  // namespace talvoro::platform::sdl
