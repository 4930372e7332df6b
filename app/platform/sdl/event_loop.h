// The one event loop of the UI thread. It sleeps until an SDL event, a posted message or the
// earliest timer of any window; with nothing to do and no timer it does not wake at all.
#pragma once
#include <cstddef>

namespace talvoro::platform::sdl {

// Runs until quit_event_loop(); a quit asked before the call ends it at once.
void run_event_loop();
// Safe from any thread.
void quit_event_loop();
// How many times the loop came back from waiting, since the program started.
size_t event_loop_wakeups();

}  // namespace talvoro::platform::sdl
