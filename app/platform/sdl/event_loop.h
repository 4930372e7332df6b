// The one event loop of the UI thread. It sleeps until an SDL event, a posted message or the
// earliest timer of any window; with nothing to do and no timer it does not wake at all.
#pragma once
#include <cstddef>
#include <functional>

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform::sdl {

// Runs until quit_event_loop(); a quit asked before the call ends it at once.
void run_event_loop();
// Safe from any thread.
void quit_event_loop();
// How many times the loop (or a nested one) came back from waiting, since the program started.
size_t event_loop_wakeups();

// A nested loop for a modal window: every window's posted messages, timers and paints go on,
// but input reaches only `dialog` (a click elsewhere brings it to the front, and other windows
// cannot be closed). Returns when the dialog is destroyed, or when quit_event_loop() was asked,
// which stays asked for the outer loop. A headless dialog returns at once: nothing could end it.
void run_modal_loop(ui::CWindowWnd& dialog);

// A nested loop that keeps every window painted while something outside the program has the
// user's attention (another process's file chooser): exposes and invalid regions are served,
// input is dropped, posted messages and timers wait for the outer loop. Returns once
// `finished()` is true; it is asked again whenever the loop wakes, so whoever finishes calls
// push_wake_event() (sdl_video.h), from any thread.
void run_paint_only_loop(const std::function<bool()>& finished);

}  // namespace talvoro::platform::sdl
