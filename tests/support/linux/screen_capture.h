// What an X display shows in a rectangle of its screen, as a picture: what a person sees of a
// window, shadows of other windows and all.
#pragma once

#include <optional>
#include <string>

#include "render/image.h"
#include "render/rect.h"

namespace talvoro::test {

// Nothing when the display cannot be opened or the rectangle is not on its screen.
std::optional<ui::Image> capture_screen(const std::string& display, const ui::Rect& area);

}  // namespace talvoro::test
