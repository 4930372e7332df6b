#include "platform/sdl/window_registry.h"

#include <algorithm>
#include <utility>

namespace talvoro::platform::sdl {
namespace {
std::vector<std::pair<uint32_t, ui::CWindowWnd*>>& entries() {
    static std::vector<std::pair<uint32_t, ui::CWindowWnd*>> list;
    return list;
}
}  // namespace

void register_window(uint32_t sdl_window_id, ui::CWindowWnd* window) {
    unregister_window(sdl_window_id);
    entries().emplace_back(sdl_window_id, window);
}

void unregister_window(uint32_t sdl_window_id) {
    auto& list = entries();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const auto& entry) { return entry.first == sdl_window_id; }),
               list.end());
}

ui::CWindowWnd* find_window(uint32_t sdl_window_id) {
    for (const auto& [id, window] : entries()) {
        if (id == sdl_window_id) {
            return window;
        }
    }
    return nullptr;
}

std::vector<ui::CWindowWnd*> registered_windows() {
    std::vector<ui::CWindowWnd*> windows;
    for (const auto& entry : entries()) {
        windows.push_back(entry.second);
    }
    return windows;
}

}  // namespace talvoro::platform::sdl
