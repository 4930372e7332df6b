// SDL keys as Windows virtual-key codes, which the program's key tables are written in.
#pragma once
#include <SDL2/SDL_keycode.h>

namespace talvoro::platform::sdl {

// 0 for a key that has no virtual-key code.
int virtual_key_from_sdl(SDL_Keycode key);

}  // namespace talvoro::platform::sdl
