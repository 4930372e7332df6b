#include "dialogs/dialog_button.h"

namespace talvoro::ui {

bool CDialogButtonUI::set_attribute(std::string_view name, std::string_view value) {
    Color* target = nullptr;
    if (name == "hotbkcolor") {
        target = &hot_bk_color_;
    } else if (name == "pushedbkcolor") {
        target = &pushed_bk_color_;
    } else {
        return CButtonUI::set_attribute(name, value);
    }
    const auto color = parse_color(value);
    if (!color) {
        return false;
    }
    *target = *color;
    invalidate();
    return true;
}

void CDialogButtonUI::paint_bk_color(Canvas& canvas) {
    Color color = bk_color();
    if (enabled() && pushed() && !pushed_bk_color_.is_none()) {
        color = pushed_bk_color_;
    } else if (enabled() && hot() && !hot_bk_color_.is_none()) {
        color = hot_bk_color_;
    }
    if (!color.is_none()) {
        canvas.fill_rect(pos(), color);
    }
}

}  // namespace talvoro::ui
