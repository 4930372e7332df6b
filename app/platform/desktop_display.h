// Whether the program has a desktop to show windows on: at start-up, and for the modal things
// (message boxes, file choosers) that must not wait for a user who cannot see them.
#pragma once

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform {

// Whether the program runs in a desktop session: on Linux DISPLAY or WAYLAND_DISPLAY names one;
// a Windows program always has its desktop. Nothing is connected to, so the answer is immediate.
bool desktop_session_named();

// Whether the environment names a place for windows at all: a desktop session, or a video driver
// chosen through SDL_VIDEODRIVER. A display that is named but cannot be reached shows when SDL
// video starts.
bool display_named_in_environment();

// True when SDL video runs on a real display (started here when DISPLAY or WAYLAND_DISPLAY is
// set and nobody started it yet) and `owner`, if given, is a window on it rather than a headless
// one. SDL's dummy and offscreen drivers are no display.
bool desktop_display_available(const ui::CWindowWnd* owner);

}  // namespace talvoro::platform
