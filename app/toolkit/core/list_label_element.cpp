#include "core/list_label_element.h"

#include "core/paint_manager.h"

namespace talvoro::ui {

void CListLabelElementUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kMouseEnter:
            set_hot(true);
            break;
        case EventType::kMouseLeave:
            set_hot(false);
            break;
        case EventType::kButtonDown:
            pushed_ = true;
            break;
        case EventType::kButtonUp:
            if (pushed_) {
                pushed_ = false;
                if (pos().contains(event.point) && enabled() && on_activate_) {
                    // The handler may close the popup showing this item; the item stays.
                    auto activate = on_activate_;
                    activate(*this);
                }
            }
            break;
        default:
            CLabelUI::do_event(event);
    }
}

void CListLabelElementUI::set_hot(bool hot) {
    if (hot != hot_) {
        hot_ = hot;
        invalidate();
    }
}

void CListLabelElementUI::set_selected(bool selected) {
    if (selected != selected_) {
        selected_ = selected;
        invalidate();
    }
}

void CListLabelElementUI::set_item_font(int font) {
    item_font_ = font;
    invalidate();
}

void CListLabelElementUI::set_item_text_color(Color color) {
    item_text_color_ = color;
    invalidate();
}

void CListLabelElementUI::set_hot_text_color(Color color) {
    hot_text_color_ = color;
    invalidate();
}

void CListLabelElementUI::set_hot_bk_color(Color color) {
    hot_bk_color_ = color;
    invalidate();
}

void CListLabelElementUI::set_selected_bk_color(Color color) {
    selected_bk_color_ = color;
    invalidate();
}

void CListLabelElementUI::paint_bk_color(Canvas& canvas) {
    if (selected_ && !selected_bk_color_.is_none()) {
        canvas.fill_rect(pos(), selected_bk_color_);
    } else if (hot_ && !hot_bk_color_.is_none()) {
        canvas.fill_rect(pos(), hot_bk_color_);
    } else {
        CLabelUI::paint_bk_color(canvas);
    }
}

void CListLabelElementUI::paint_text(Canvas& canvas) {
    if (text().empty()) {
        return;
    }
    Color color = text_color();
    if (hot_ && !hot_text_color_.is_none()) {
        color = hot_text_color_;
    } else if (!item_text_color_.is_none()) {
        color = item_text_color_;
    }
    if (!enabled() && !disabled_text_color().is_none()) {
        color = disabled_text_color();
    }
    static const FontStyle kDefault{};
    int font_index = item_font_ >= 0 ? item_font_ : font();
    const FontStyle& spec = manager() != nullptr ? manager()->font(font_index) : kDefault;
    draw_text(canvas, pos(), text(), spec, color, text_flags() | text_align(), text_padding());
}

}  // namespace talvoro::ui
