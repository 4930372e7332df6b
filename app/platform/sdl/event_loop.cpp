#include "platform/sdl/event_loop.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <climits>
#include <optional>

#include "core/window.h"
#include "platform/sdl/event_translation.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/window_registry.h"

namespace talvoro::platform::sdl {
namespace {

std::atomic<bool> quit_requested{false};
std::atomic<size_t> wakeups{0};

// Milliseconds until the earliest timer of any window, 0 when work waits, nothing for never.
std::optional<int> wait_limit() {
    std::optional<int> limit;
    for (ui::CWindowWnd* window : registered_windows()) {
        if (window->has_pending_work()) {
            return 0;
        }
        if (const auto due = window->next_timer_due()) {
            const auto left = (*due - window->now()).count();
            const int ms = static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
            if (!limit || ms < *limit) {
                limit = ms;
            }
        }
    }
    return limit;
}

void handle(const SDL_Event& event) {
    if (event.type == wake_event_type()) {
        return;  // the pass over the windows does the work
    }
    if (event.type == SDL_QUIT) {
        // Asked to end (a signal, the session): every window gets its close.
        for (ui::CWindowWnd* window : registered_windows()) {
            window->close();
        }
        return;
    }
    dispatch_sdl_event(event);
}

}  // namespace

void run_event_loop() {
    if (!ensure_sdl_video()) {
        return;
    }
    while (!quit_requested) {
        for (ui::CWindowWnd* window : registered_windows()) {
            // A window destroyed by an earlier one's work has left the registry.
            const auto live = registered_windows();
            if (std::find(live.begin(), live.end(), window) != live.end()) {
                window->process_pending();
            }
        }
        if (quit_requested) {
            break;
        }
        const std::optional<int> limit = wait_limit();
        SDL_Event event;
        const int got = limit ? SDL_WaitEventTimeout(&event, *limit) : SDL_WaitEvent(&event);
        ++wakeups;
        if (got != 0) {
            handle(event);
            while (SDL_PollEvent(&event) != 0) {
                handle(event);
            }
        }
    }
    quit_requested = false;
}

void quit_event_loop() {
    quit_requested = true;
    push_wake_event();
}

size_t event_loop_wakeups() {
    return wakeups;
}

}  // namespace talvoro::platform::sdl
