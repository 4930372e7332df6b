#include "core/list_container_element.h"

#include "core/button.h"
#include "core/edit.h"
#include "core/list.h"
#include "core/paint_manager.h"

namespace talvoro::ui {

CListUI* CListContainerElementUI::owner() const {
    return dynamic_cast<CListUI*>(parent());
}

int CListContainerElementUI::index() const {
    CListUI* list = owner();
    return list != nullptr ? list->index_of(this) : -1;
}

void CListContainerElementUI::set_selected_flag(bool selected) {
    if (selected != selected_) {
        selected_ = selected;
        invalidate();
    }
}

CControlUI* CListContainerElementUI::find_control_at(Point point) {
    CControlUI* hit = CContainerUI::find_control_at(point);
    if (hit == nullptr || hit == this) {
        return hit;
    }
    // Cells are parts of the row, except those that take input of their own.
    if (dynamic_cast<CButtonUI*>(hit) != nullptr) {
        return hit;
    }
    if (auto* edit = dynamic_cast<CEditUI*>(hit); edit != nullptr && !edit->is_readonly()) {
        return hit;
    }
    return this;
}

void CListContainerElementUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kMouseEnter:
            hot_ = true;
            invalidate();
            break;
        case EventType::kMouseLeave:
            hot_ = false;
            invalidate();
            break;
        case EventType::kButtonDown:
            if (CListUI* list = owner()) {
                list->row_clicked(*this);
            }
            break;
        default:
            CContainerUI::do_event(event);
    }
}

void CListContainerElementUI::paint_bk_color(Canvas& canvas) {
    CListUI* list = owner();
    if (list != nullptr) {
        Color color;
        if (selected_ && !list->item_selected_bk_color().is_none()) {
            color = list->item_selected_bk_color();
        } else if (hot_ && !list->item_hot_bk_color().is_none()) {
            color = list->item_hot_bk_color();
        } else {
            color = list->item_bk_color();
        }
        if (!color.is_none()) {
            canvas.fill_rect(pos(), color);
            return;
        }
    }
    CContainerUI::paint_bk_color(canvas);
}

void CListContainerElementUI::paint_text(Canvas& canvas) {
    if (text().empty()) {
        return;
    }
    Color color = text_color();
    if (CListUI* list = owner()) {
        Color wanted = selected_ ? list->item_selected_text_color() : list->item_text_color();
        if (!wanted.is_none()) {
            color = wanted;
        }
    }
    static const FontStyle kNone{{}, 0};
    const FontStyle& spec = manager() != nullptr ? manager()->font(font()) : kNone;
    draw_text(canvas, pos(), text(), spec, color, kTextSingleLine | text_align(), text_padding());
}

}  // namespace talvoro::ui
