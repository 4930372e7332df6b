// SDL's hit test for a toolkit window: the caption band drags the window.
#pragma once
#include <SDL2/SDL_video.h>

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform::sdl {

// `data` is the CWindowWnd; SDL calls this on the UI thread.
SDL_HitTestResult caption_hit_test(SDL_Window* window, const SDL_Point* area, void* data);
// False when the video driver has no hit testing (the dummy driver).
bool install_caption_hit_test(SDL_Window* window, ui::CWindowWnd& owner);

}  // namespace talvoro::platform::sdl
