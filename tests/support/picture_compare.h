// Comparing what a screen shows with a reference picture, as a person would: a pixel counts as
// different only when a colour channel is off by more than a font's smoothing explains.
#pragma once

#include <optional>

#include "render/image.h"
#include "render/rect.h"

namespace talvoro::test {

// The share of `reference`'s opaque pixels that `shot` shows otherwise; 1 when the sizes differ.
double differing_share(const ui::Image& shot, const ui::Image& reference);

// Where `reference`'s top-left corner stands in `screen`: the place where the most of a sample of
// its opaque pixels match, if nearly all of them do. For windows whose place only the compositor
// knows (Wayland).
std::optional<ui::Point> find_picture(const ui::Image& screen, const ui::Image& reference);

// The part of `image` inside `area`, which must lie inside it.
ui::Image cut_out(const ui::Image& image, const ui::Rect& area);

}  // namespace talvoro::test
