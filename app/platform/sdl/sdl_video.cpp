#include "platform/sdl/sdl_video.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <cstring>
#include <mutex>

#include "platform/display_errors.h"
#include "render/debug_log.h"

namespace talvoro::platform::sdl {
namespace {

std::atomic<uint32_t> registered_wake_type{0};

// SDL_VIDEODRIVER is a comma-separated list, its names compared without case as SDL does.
bool driver_requested(const char* driver) {
    const char* list = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (list == nullptr) {
        return false;
    }
    const size_t length = std::strlen(driver);
    for (const char* at = list;;) {
        const char* end = std::strchr(at, ',');
        const size_t item = end != nullptr ? static_cast<size_t>(end - at) : std::strlen(at);
        if (item == length && SDL_strncasecmp(at, driver, length) == 0) {
            return true;
        }
        if (end == nullptr) {
            return false;
        }
        at = end + 1;
    }
}

}  // namespace

bool ensure_sdl_video() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] {
        // The window surface path: an OpenGL driver costs far more time and memory per window.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // Closing the last window is the program's decision, not SDL's.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        // A borderless shaped window must not be shown as a "minimised on focus loss" window.
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        // The click that brings the window forward also presses what it lands on, as on every
        // desktop's own windows (SDL on Windows swallows it otherwise).
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // On Wayland the window's cut corners are its own transparent pixels.
        SDL_SetHint(SDL_HINT_VIDEO_EGL_ALLOW_TRANSPARENCY, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            ui::debug_log(std::string("SDL video failed: ") + SDL_GetError());
            return;
        }
        const Uint32 type = SDL_RegisterEvents(1);
        if (type == static_cast<Uint32>(-1)) {
            return;
        }
        registered_wake_type = type;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver != nullptr && SDL_strcasecmp(driver, "x11") == 0) {
            platform::tolerate_events_to_gone_windows();
        }
        ok = true;
    });
    return ok;
}

bool on_fall_back_driver() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr &&
           (SDL_strcasecmp(driver, "dummy") == 0 || SDL_strcasecmp(driver, "offscreen") == 0);
}

bool video_driver_accepted() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr) {
        return false;
    }
    return !on_fall_back_driver() || driver_requested(driver);
}

uint32_t wake_event_type() {
    return registered_wake_type;
}

void push_wake_event() {
    const uint32_t type = registered_wake_type;
    if (type == 0) {
        return;
    }
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

}  // namespace talvoro::platform::sdl
