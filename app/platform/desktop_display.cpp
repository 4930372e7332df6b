#include "platform/desktop_display.h"

#include <SDL2/SDL.h>

#include <cstdlib>

#include "core/window.h"
#include "platform/sdl/sdl_video.h"

namespace talvoro::platform {
namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool display_named_in_environment() {
    return desktop_session_named() || set("SDL_VIDEODRIVER");
}

bool desktop_display_available(const ui::CWindowWnd* owner) {
    if (owner != nullptr && owner->headless()) {
        return false;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        if (!desktop_session_named()) {
            return false;
        }
        if (!sdl::ensure_sdl_video()) {
            return false;
        }
    }
    return SDL_GetCurrentVideoDriver() != nullptr && !sdl::on_fall_back_driver();
}

}  // namespace talvoro::platform
