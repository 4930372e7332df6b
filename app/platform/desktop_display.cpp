#include "platform/desktop_display.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdlib>

#include "core/window.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window_backend.h"

namespace talvoro::platform {
namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool display_named_in_environment() {
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("SDL_VIDEODRIVER");
}

bool desktop_display_available(const ui::CWindowWnd* owner) {
    if (owner != nullptr && owner->headless()) {
        return false;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        if (!set("DISPLAY") && !set("WAYLAND_DISPLAY")) {
            return false;
        }
        if (!sdl::ensure_sdl_video()) {
            return false;
        }
    }
    return SDL_GetCurrentVideoDriver() != nullptr && !sdl::on_fall_back_driver();
}

unsigned long x11_window_id(const ui::CWindowWnd* window) {
    const auto* backend =
        window != nullptr ? dynamic_cast<const sdl::SdlWindowBackend*>(window->backend()) : nullptr;
    if (backend == nullptr || backend->sdl_window() == nullptr) {
        return 0;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(backend->sdl_window(), &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11) {
        return 0;
    }
    return static_cast<unsigned long>(info.info.x11.window);
}

}  // namespace talvoro::platform
