#include "core/list.h"

#include <algorithm>

#include "core/list_container_element.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"

namespace talvoro::ui {
namespace {

constexpr Color kTrackColor = Color::from_argb(0xFF303030);
constexpr Color kThumbColor = Color::from_argb(0xFF8A8A8A);

}  // namespace

bool CListUI::set_attribute(std::string_view name, std::string_view value) {
    Color* target = nullptr;
    if (name == "itembkcolor") {
        target = &item_bk_color_;
    } else if (name == "itemhotbkcolor") {
        target = &item_hot_bk_color_;
    } else if (name == "itemselectedbkcolor") {
        target = &item_selected_bk_color_;
    } else if (name == "itemtextcolor") {
        target = &item_text_color_;
    } else if (name == "itemselectedtextcolor") {
        target = &item_selected_text_color_;
    } else {
        return CContainerUI::set_attribute(name, value);
    }
    auto color = parse_color(value);
    if (!color) {
        debug_log("List: malformed attribute " + std::string(name));
        return false;
    }
    *target = *color;
    invalidate();
    return true;
}

CListContainerElementUI* CListUI::row_at(int index) const {
    return dynamic_cast<CListContainerElementUI*>(item_at(index));
}

bool CListUI::remove_at(int index) {
    return remove(item_at(index));
}

void CListUI::remove_all() {
    CContainerUI::remove_all();
    scroll_pos_ = 0;
    dragging_thumb_ = false;
}

int CListUI::get_cur_sel() const {
    for (int i = 0; i < count(); ++i) {
        if (CListContainerElementUI* row = row_at(i); row != nullptr && row->is_selected()) {
            return i;
        }
    }
    return -1;
}

bool CListUI::select_item(int index, bool send_notify) {
    if (index != -1 && row_at(index) == nullptr) {
        return false;
    }
    int old = get_cur_sel();
    if (old == index) {
        return true;
    }
    if (CListContainerElementUI* previous = row_at(old)) {
        previous->set_selected_flag(false);
    }
    if (CListContainerElementUI* row = row_at(index)) {
        row->set_selected_flag(true);
        ensure_visible(index);
    }
    if (send_notify) {
        CControlUI::send_notify("itemselect", static_cast<uintptr_t>(index), old);
    }
    return true;
}

void CListUI::row_clicked(CListContainerElementUI& row) {
    int index = index_of(&row);
    if (index < 0 || !enabled()) {
        return;
    }
    if (manager() != nullptr) {
        manager()->send_notify(&row, "itemclick", static_cast<uintptr_t>(index));
    }
    // The handler may have rebuilt the list; select only a row that is still there.
    if (row_at(index) == &row) {
        select_item(index, true);
    }
}

int CListUI::row_height(const CControlUI& row) const {
    int height = row.fixed_height() > 0 ? row.fixed_height() : kDefaultRowHeight;
    return row.clamp_height(height);
}

int CListUI::scroll_range() const {
    return std::max(content_height_ - view_height(), 0);
}

void CListUI::layout_children() {
    Rect client = client_rect();
    content_height_ = 0;
    for (const auto& item : items()) {
        if (item->visible() && !item->is_float()) {
            if (content_height_ > 0) {
                content_height_ += child_padding();
            }
            Rect margin = item->padding();
            content_height_ += margin.top + row_height(*item) + margin.bottom;
        }
    }
    scroll_pos_ = std::clamp(scroll_pos_, 0, scroll_range());
    int right = scroll_bar_visible() ? client.right - kScrollBarWidth : client.right;
    int y = client.top - scroll_pos_;
    bool first = true;
    for (const auto& item : items()) {
        if (!item->visible()) {
            continue;
        }
        if (item->is_float()) {
            place_float(*item);
            continue;
        }
        if (!first) {
            y += child_padding();
        }
        first = false;
        Rect margin = item->padding();
        int height = row_height(*item);
        int left = client.left + margin.left;
        int width = item->fixed_width() > 0 ? item->fixed_width() : right - margin.right - left;
        width = item->clamp_width(std::max(width, 0));
        y += margin.top;
        item->set_pos(Rect{left, y, left + width, y + height});
        y += height + margin.bottom;
    }
}

void CListUI::set_scroll_pos(int pos) {
    pos = std::clamp(pos, 0, scroll_range());
    if (pos != scroll_pos_) {
        scroll_pos_ = pos;
        layout_children();
        invalidate();
    }
}

void CListUI::scroll_wheel(int notches) {
    int line = count() > 0 ? row_height(*item_at(0)) : kDefaultRowHeight;
    set_scroll_pos(scroll_pos_ - notches * kWheelLines * line);
}

bool CListUI::dispatch_wheel(CPaintManagerUI& manager, Point point, int notches) {
    for (CControlUI* control = manager.find_control_at(point); control != nullptr;
         control = control->parent()) {
        if (auto* list = dynamic_cast<CListUI*>(control)) {
            list->scroll_wheel(notches);
            return true;
        }
    }
    return false;
}

void CListUI::ensure_visible(int index) {
    CControlUI* row = item_at(index);
    if (row == nullptr || !scroll_bar_visible()) {
        return;
    }
    Rect client = client_rect();
    if (row->pos().top < client.top) {
        set_scroll_pos(scroll_pos_ - (client.top - row->pos().top));
    } else if (row->pos().bottom > client.bottom) {
        set_scroll_pos(scroll_pos_ + (row->pos().bottom - client.bottom));
    }
}

Rect CListUI::scroll_bar_rect() const {
    if (!scroll_bar_visible()) {
        return {};
    }
    Rect client = client_rect();
    return Rect{client.right - kScrollBarWidth, client.top, client.right, client.bottom};
}

Rect CListUI::thumb_rect() const {
    Rect bar = scroll_bar_rect();
    if (bar.empty() || content_height_ <= 0) {
        return {};
    }
    int track = bar.height();
    int height = std::max(static_cast<int>(int64_t{track} * view_height() / content_height_),
                          kMinThumbHeight);
    height = std::min(height, track);
    int range = scroll_range();
    int top = range > 0 ? bar.top + static_cast<int>(int64_t{track - height} * scroll_pos_ / range)
                        : bar.top;
    return Rect{bar.left, top, bar.right, top + height};
}

CControlUI* CListUI::find_control_at(Point point) {
    if (visible() && enabled() && scroll_bar_rect().contains(point)) {
        return this;
    }
    return CContainerUI::find_control_at(point);
}

void CListUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kButtonDown: {
            Rect thumb = thumb_rect();
            if (thumb.contains(event.point)) {
                dragging_thumb_ = true;
                drag_grab_ = event.point.y - thumb.top;
            } else if (scroll_bar_rect().contains(event.point)) {
                // A click on the track pages towards the pointer.
                int page = view_height();
                set_scroll_pos(scroll_pos_ + (event.point.y < thumb.top ? -page : page));
            }
            break;
        }
        case EventType::kMouseMove:
            if (dragging_thumb_) {
                Rect bar = scroll_bar_rect();
                int free = bar.height() - thumb_rect().height();
                if (free > 0) {
                    int top = event.point.y - drag_grab_ - bar.top;
                    set_scroll_pos(static_cast<int>(int64_t{top} * scroll_range() / free));
                }
            }
            break;
        case EventType::kButtonUp:
            dragging_thumb_ = false;
            break;
        default:
            CContainerUI::do_event(event);
    }
}

void CListUI::do_paint(Canvas& canvas, const Rect& dirty) {
    CContainerUI::do_paint(canvas, dirty);
    Rect bar = scroll_bar_rect().intersect(dirty);
    if (bar.empty()) {
        return;
    }
    ClipScope clip(canvas, bar);
    canvas.fill_rect(scroll_bar_rect(), kTrackColor);
    canvas.fill_rect(thumb_rect(), kThumbColor);
}

}  // namespace talvoro::ui
