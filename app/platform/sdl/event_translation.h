// SDL input and window events as the toolkit's window messages.
#pragma once
#include <SDL2/SDL_events.h>

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform::sdl {

// Sends the messages `event` stands for to the window it belongs to; false when it belongs to
// no toolkit window or means nothing to one.
bool dispatch_sdl_event(const SDL_Event& event);

}  // namespace talvoro::platform::sdl
