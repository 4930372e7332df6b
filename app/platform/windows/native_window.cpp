#include "platform/windows/native_window.h"

#include <SDL2/SDL_syswm.h>

#include "platform/sdl/sdl_window_backend.h"

namespace talvoro::platform {

HWND native_window(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_WINDOWS) {
        return nullptr;
    }
    return info.info.win.window;
}

HWND native_window(const ui::CWindowWnd* window) {
    const auto* backend =
        window != nullptr ? dynamic_cast<const sdl::SdlWindowBackend*>(window->backend()) : nullptr;
    return backend != nullptr ? native_window(backend->sdl_window()) : nullptr;
}

}  // namespace talvoro::platform
