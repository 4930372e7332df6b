#include "core/list.h"

#include <algorithm>

#include "core/key_codes.h"
#include "core/list_container_element.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"

namespace talvoro::ui {
namespace {

// The panels' border colour for the track, the secondary text colour for the thumb.
constexpr Color kTrackColor = Color::from_argb(0xFF2A2A31);
constexpr Color kThumbColor = Color::from_argb(0xFFA3A3AD);

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
    reveal_ = nullptr;
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

void CListUI::on_child_added(CControlUI& child) {
    // A row that comes in selected is the one the user works on: show it.
    if (auto* row = dynamic_cast<CListContainerElementUI*>(&child); row && row->is_selected()) {
        reveal_ = row;
    }
}

void CListUI::layout_children() {
    Rect client = client_rect();
    content_height_ = 0;
    int reveal_top = -1;
    int reveal_bottom = -1;
    for (const auto& item : items()) {
        if (item->visible() && !item->is_float()) {
            if (content_height_ > 0) {
                content_height_ += child_padding();
            }
            Rect margin = item->padding();
            content_height_ += margin.top;
            if (item.get() == reveal_) {
                reveal_top = content_height_;
                reveal_bottom = content_height_ + row_height(*item);
            }
            content_height_ += row_height(*item) + margin.bottom;
        }
    }
    // Before the list has an area there is nothing to scroll into; keep the request.
    if (view_height() > 0) {
        if (reveal_top >= 0) {
            reveal_span(reveal_top, reveal_bottom);
        }
        reveal_ = nullptr;
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

void CListUI::reveal_span(int top, int bottom) {
    if (top < scroll_pos_) {
        scroll_pos_ = top;
    } else if (bottom > scroll_pos_ + view_height()) {
        scroll_pos_ = bottom - view_height();
    }
}

void CListUI::scroll_wheel(int notches) {
    int line = count() > 0 ? row_height(*item_at(0)) : kDefaultRowHeight;
    set_scroll_pos(scroll_pos_ - notches * kWheelLines * line);
}

bool CListUI::dispatch_wheel(CPaintManagerUI& manager, Point point, int notches) {
    return manager.mouse_wheel(point.x, point.y, notches);
}

void CListUI::ensure_visible(int index) {
    reveal_ = item_at(index);
    if (reveal_ == nullptr) {
        return;
    }
    // Rows added since the last pass have no place yet; the pass that gives them one also
    // scrolls. Otherwise scroll now, so the caller sees the new position.
    if (manager() != nullptr && manager()->needs_layout()) {
        need_update();
        return;
    }
    const int old = scroll_pos_;
    layout_children();
    if (scroll_pos_ != old) {
        invalidate();
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
    if (!visible() || !enabled() || !pos().contains(point)) {
        return nullptr;
    }
    if (scroll_bar_rect().contains(point)) {
        return this;
    }
    // As painted: rows only inside the client area, floats anywhere in the list.
    const bool in_client = client_rect().contains(point);
    for (int i = count() - 1; i >= 0; --i) {
        CControlUI* item = item_at(i);
        if (!item->is_float() && !in_client) {
            continue;
        }
        if (CControlUI* hit = item->find_control_at(point)) {
            return hit;
        }
    }
    return this;
}

void CListUI::key_down(int key) {
    int next = -1;
    switch (key) {
        case kKeyUp:
        case kKeyDown:
            // The arrows move the selection a row; none selected, Down takes the first.
            next = std::max(get_cur_sel(), key == kKeyDown ? -1 : 0) + (key == kKeyDown ? 1 : -1);
            break;
        case kKeyHome:
            next = 0;
            break;
        case kKeyEnd:
            next = count() - 1;
            break;
        default:
            // What other keys do to the selected row (delete it, rename it) is the owner's.
            send_notify("keydown", static_cast<uintptr_t>(key));
            return;
    }
    if (next >= 0 && next < count() && next != get_cur_sel()) {
        select_item(next);
        ensure_visible(next);
    }
}

void CListUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kKeyDown:
            key_down(event.key);
            break;
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
        case EventType::kScrollWheel:
            // A list with nothing to scroll leaves the wheel to the lists around it.
            if (scroll_bar_visible()) {
                scroll_wheel(event.notches);
                event.handled = true;
            }
            break;
        default:
            CContainerUI::do_event(event);
    }
}

void CListUI::do_paint(Canvas& canvas, const Rect& dirty) {
    const Rect area = pos().intersect(dirty);
    if (area.empty()) {
        return;
    }
    CControlUI::do_paint(canvas, dirty);
    const Rect rows = client_rect().intersect(area);
    for (int i = 0; i < count(); ++i) {
        CControlUI* item = item_at(i);
        if (!item->visible()) {
            continue;
        }
        // Rows scrolled partly out are cut at the client area, floats at the list's edge.
        const Rect clip_to = item->is_float() ? area : rows;
        if (clip_to.empty()) {
            continue;
        }
        ClipScope clip(canvas, clip_to);
        item->do_paint(canvas, clip_to);
    }
    if (Rect bar = scroll_bar_rect().intersect(area); !bar.empty()) {
        ClipScope clip(canvas, bar);
        canvas.fill_rect(scroll_bar_rect(), kTrackColor);
        canvas.fill_rect(thumb_rect(), kThumbColor);
    }
    // The frame stays whole over rows that reach the edge.
    ClipScope clip(canvas, area);
    paint_border(canvas);
}

}  // namespace talvoro::ui
