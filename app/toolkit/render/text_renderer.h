// Text: measuring and drawing UTF-8 into a canvas with FreeType glyphs.
#pragma once

#include <string_view>

#include "render/canvas.h"
#include "render/color.h"
#include "render/font_style.h"
#include "render/rect.h"

namespace talvoro::ui {

// Flags of measure_text and draw_text; left, top and multi-line without wrapping are 0.
enum TextFlags : unsigned {
    kTextLeft = 0,
    kTextCenter = 1u << 0,
    kTextRight = 1u << 1,
    kTextTop = 0,
    kTextVCenter = 1u << 2,
    kTextBottom = 1u << 3,
    // Wraps lines at word boundaries (or between CJK characters) to fit the width.
    kTextWordBreak = 1u << 4,
    // One line: line breaks in the text are not shown and nothing wraps.
    kTextSingleLine = 1u << 5,
    // "{u}...{/u}" underlines the text between; other braces are shown as they are.
    kTextMarkup = 1u << 6,
};

// The font used where a FontStyle leaves the family empty or the size at 0 or below.
void set_default_font(const FontStyle& font);
FontStyle default_font();

// Size of the laid-out text; `max_width` only matters with kTextWordBreak.
Size measure_text(std::string_view utf8, const FontStyle& font, unsigned flags = kTextSingleLine,
                  int max_width = 0);

// Draws inside `rect` shrunk by `padding` (a rectangle of four insets) and never outside
// `rect`. The colour is drawn opaque whatever its alpha byte.
void draw_text(Canvas& canvas, const Rect& rect, std::string_view utf8, const FontStyle& font,
               Color color, unsigned flags, const Rect& padding = {});

}  // namespace talvoro::ui
