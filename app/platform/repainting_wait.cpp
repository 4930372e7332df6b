#include "platform/repainting_wait.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <thread>

#include "platform/sdl/event_loop.h"
#include "platform/sdl/sdl_video.h"

namespace talvoro::platform {

void run_while_repainting(const std::function<void()>& work) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        work();
        return;
    }
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
        sdl::push_wake_event();
    });
    sdl::run_paint_only_loop([&] { return done.load(); });
    worker.join();
}

}  // namespace talvoro::platform
