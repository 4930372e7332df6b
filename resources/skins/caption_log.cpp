#include "caption_log.h"

namespace talvoro::skins {

void CaptionLog::draw(ui::Canvas& canvas, const ui::Rect& box, std::string_view text,
                      const ui::FontStyle& font, ui::Color color, unsigned flags) {
    const bool wraps = (flags & ui::kTextWordBreak) != 0;
    const unsigned measure_flags = wraps ? ui::kTextWordBreak : (flags & ui::kTextSingleLine);
    const ui::Size needed = ui::measure_text(text, font, measure_flags, box.width());
    if (needed.width > box.width() || needed.height > box.height()) {
        overflows_.push_back(
            {picture_, std::string(text), needed, ui::Size{box.width(), box.height()}});
    }
    ui::draw_text(canvas, box, text, font, color, flags);
}

}  // namespace talvoro::skins
