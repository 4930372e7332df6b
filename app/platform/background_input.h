// The keyboard and mouse of the whole desktop for the macro recorder, delivered to the program's
// window even while another window has the focus, where the system offers that to a program
// without special rights (Windows raw input). Elsewhere the window's own input is all there is.
#pragma once

#include <cstdint>
#include <functional>

#include "core/window.h"

namespace talvoro::platform {

// Each input as the window's own message would carry it: kKeyDown and kKeyUp with the
// virtual-key code, kButtonDown and kButtonUp with the button (1 left, 2 middle, 3 right, 4 and 5
// extra) and the pointer in the window's client coordinates, kMouseWheel with its notches.
using BackgroundInputSink =
    std::function<void(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam)>;

// Starts delivering every key and mouse button of the desktop to `sink`, on the window's thread,
// until stop_background_input(). One window at a time: a second start replaces the first.
// Returns false when the system gives no such input or refused it; nothing is delivered then.
bool start_background_input(const ui::CWindowWnd& window, BackgroundInputSink sink);
void stop_background_input();

}  // namespace talvoro::platform
