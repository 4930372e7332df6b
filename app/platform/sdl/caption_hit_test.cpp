#include "platform/sdl/caption_hit_test.h"

#include "core/window.h"
#include "platform/sdl/sdl_window_backend.h"

namespace talvoro::platform::sdl {

SDL_HitTestResult caption_hit_test(SDL_Window*, const SDL_Point* area, void* data) {
    auto* window = static_cast<ui::CWindowWnd*>(data);
    if (window == nullptr || area == nullptr) {
        return SDL_HITTEST_NORMAL;
    }
    return window->hit_test(client_point(*window, area->x, area->y)) ==
                   ui::CWindowWnd::HitTest::kCaption
               ? SDL_HITTEST_DRAGGABLE
               : SDL_HITTEST_NORMAL;
}

bool install_caption_hit_test(SDL_Window* window, ui::CWindowWnd& owner) {
    return SDL_SetWindowHitTest(window, caption_hit_test, &owner) == 0;
}

}  // namespace talvoro::platform::sdl
