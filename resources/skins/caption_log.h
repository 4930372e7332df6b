// Paints the captions of the pictures and remembers every one that does not fit its box, so
// that a caption grown in translation is caught when the pictures are drawn, not on screen.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "render/canvas.h"
#include "render/font_style.h"
#include "render/rect.h"
#include "render/text_renderer.h"

namespace talvoro::skins {

struct CaptionOverflow {
    std::string picture;
    std::string text;
    ui::Size needed;
    ui::Size room;
};

class CaptionLog {
  public:
    // The picture the following captions belong to, for the report.
    void set_picture(std::string name) { picture_ = std::move(name); }

    // Draws `text` inside `box` as ui::draw_text does, first measuring it against the box:
    // with kTextWordBreak the wrapped lines must fit the box's height, otherwise the widest
    // line must fit its width and all lines its height.
    void draw(ui::Canvas& canvas, const ui::Rect& box, std::string_view text,
              const ui::FontStyle& font, ui::Color color, unsigned flags);

    const std::vector<CaptionOverflow>& overflows() const { return overflows_; }

  private:
    std::string picture_;
    std::vector<CaptionOverflow> overflows_;
};

}  // namespace talvoro::skins
