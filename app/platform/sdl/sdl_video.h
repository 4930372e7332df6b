// SDL's video subsystem, started once for every window of the program.
#pragma once
#include <cstdint>

namespace talvoro::platform::sdl {

// Starts SDL video (software framebuffer, no OpenGL) on first use; false when no driver works.
bool ensure_sdl_video();
// Whether the running video driver is SDL's "dummy" or "offscreen" one, which shows nothing.
bool on_fall_back_driver();
// Whether the running video driver puts windows where someone asked for them: any driver but
// SDL's "dummy" and "offscreen" fall-backs, and those only when SDL_VIDEODRIVER names them.
bool video_driver_accepted();
// The registered event that wakes the event loop from other threads.
uint32_t wake_event_type();
// Pushes one wake event; safe from any thread.
void push_wake_event();

}  // namespace talvoro::platform::sdl
