// A person's input for windows without a display: tests, the screenshot tool and the benchmarks
// click, type and press keys through these and draw what the window shows to a PNG. The input
// goes through the window's messages, as the platform's would.
#pragma once

#include <string>
#include <string_view>

#include "core/window.h"
#include "render/rect.h"

namespace talvoro::ui {

// The pointer moves to `at` (client coordinates), the left button goes down and up there.
void click_at(CWindowWnd& window, Point at);
// Clicks the middle of the named control, laying the window out first if it has to. False when
// the window is not created, or the control is missing, hidden or has no place yet.
bool click_control(CWindowWnd& window, std::string_view name);
// Text as the keyboard's text input delivers it.
void type_text(CWindowWnd& window, std::string_view utf8);
// A key down and up, by Windows virtual-key code.
void press_key(CWindowWnd& window, int virtual_key);
// Draws what is invalid, then writes the whole canvas.
bool snapshot_png(CWindowWnd& window, const std::string& path);

}  // namespace talvoro::ui
