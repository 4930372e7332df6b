#include "platform/sdl/event_loop.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <optional>

#include "core/window.h"
#include "platform/sdl/event_translation.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window_backend.h"
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
        // Asked to end (a signal, the session): every window gets its close. Closing one may
        // take others with it (a main window its popups), so each is looked up again first.
        for (ui::CWindowWnd* window : registered_windows()) {
            const auto live = registered_windows();
            if (std::find(live.begin(), live.end(), window) != live.end()) {
                window->close();
            }
        }
        return;
    }
    dispatch_sdl_event(event);
}

// One pass of every window's own work; a window destroyed by an earlier one's work has left the
// registry and is skipped.
void process_windows() {
    for (ui::CWindowWnd* window : registered_windows()) {
        const auto live = registered_windows();
        if (std::find(live.begin(), live.end(), window) != live.end()) {
            window->process_pending();
        }
    }
}

// Waits for the next event, no longer than the earliest timer; false when none came.
bool wait_for_event(SDL_Event& event, std::optional<int> limit) {
    const int got = limit ? SDL_WaitEventTimeout(&event, *limit) : SDL_WaitEvent(&event);
    ++wakeups;
    return got != 0;
}

// The window an input event is for; nothing for events that are not input.
std::optional<uint32_t> input_window_id(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEMOTION:
            return event.motion.windowID;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return event.button.windowID;
        case SDL_MOUSEWHEEL:
            return event.wheel.windowID;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return event.key.windowID;
        case SDL_TEXTINPUT:
            return event.text.windowID;
        case SDL_TEXTEDITING:
            return event.edit.windowID;
        case SDL_WINDOWEVENT:
            // Asking to close is the user's input too.
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                return event.window.windowID;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

SDL_Window* sdl_window_of(const ui::CWindowWnd& window) {
    const auto* backend = dynamic_cast<const SdlWindowBackend*>(window.backend());
    return backend != nullptr ? backend->sdl_window() : nullptr;
}

void push_quit() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace

void run_event_loop() {
    if (!ensure_sdl_video()) {
        return;
    }
    while (!quit_requested) {
        process_windows();
        if (quit_requested) {
            break;
        }
        SDL_Event event;
        if (wait_for_event(event, wait_limit())) {
            handle(event);
            while (SDL_PollEvent(&event) != 0) {
                handle(event);
            }
        }
    }
    quit_requested = false;
}

void run_modal_loop(ui::CWindowWnd& dialog) {
    SDL_Window* dialog_window = sdl_window_of(dialog);
    if (dialog_window == nullptr || !ensure_sdl_video()) {
        return;
    }
    const uint32_t dialog_id = SDL_GetWindowID(dialog_window);
    bool quit_seen = false;
    auto modal_handle = [&](const SDL_Event& event) {
        if (event.type == SDL_QUIT) {
            // The session is ending: the dialog goes, and the outer loop hears it too.
            quit_seen = true;
            dialog.close();
            return;
        }
        if (const auto target = input_window_id(event); target && *target != dialog_id) {
            if (event.type == SDL_MOUSEBUTTONDOWN && dialog.is_created()) {
                SDL_RaiseWindow(dialog_window);
            }
            return;
        }
        handle(event);
    };
    while (dialog.is_created() && !quit_requested) {
        process_windows();
        if (!dialog.is_created() || quit_requested) {
            break;
        }
        SDL_Event event;
        if (wait_for_event(event, wait_limit())) {
            modal_handle(event);
            while (dialog.is_created() && SDL_PollEvent(&event) != 0) {
                modal_handle(event);
            }
        }
    }
    if (quit_seen) {
        push_quit();
    }
}

void run_paint_only_loop(const std::function<bool()>& finished) {
    if (!ensure_sdl_video()) {
        return;
    }
    bool quit_seen = false;
    while (!finished()) {
        for (ui::CWindowWnd* window : registered_windows()) {
            if (window->manager().needs_layout() || !window->manager().invalid_region().empty()) {
                window->send_message(ui::WindowMessage::kPaint);
            }
        }
        SDL_Event event;
        if (!wait_for_event(event, std::nullopt)) {
            continue;
        }
        do {
            if (event.type == SDL_QUIT) {
                quit_seen = true;
            } else if (event.type == SDL_WINDOWEVENT &&
                       (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                        event.window.event == SDL_WINDOWEVENT_MOVED ||
                        event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
                dispatch_sdl_event(event);
            }
        } while (SDL_PollEvent(&event) != 0);
    }
    if (quit_seen) {
        push_quit();
    }
}

void quit_event_loop() {
    quit_requested = true;
    push_wake_event();
}

size_t event_loop_wakeups() {
    return wakeups;
}

}  // namespace talvoro::platform::sdl
