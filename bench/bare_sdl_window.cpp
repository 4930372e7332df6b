// The floor of the start-up benchmark: a bare SDL program that opens a window of the main
// window's size the way the program does (window surface, no OpenGL), shows one frame, reports
// it as the program does (TALVORO_FRAME_FD, or TALVORO_FRAME_FILE on Windows) and ends.
// A plain main() on every system, as the program's own.
#define SDL_MAIN_HANDLED
#include <SDL2/SDL.h>

#include "platform/first_frame_report.h"

int main(int, char**) {
    SDL_SetMainReady();
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          1025, 701, SDL_WINDOW_BORDERLESS);
    SDL_Surface* surface = window != nullptr ? SDL_GetWindowSurface(window) : nullptr;
    if (surface == nullptr) {
        return 1;
    }
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 14, 14, 17));
    SDL_UpdateWindowSurface(window);
    talvoro::platform::report_first_frame();
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
