#include "core/container.h"

#include <algorithm>

#include "core/attribute_values.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"

namespace talvoro::ui {

bool CContainerUI::set_attribute(std::string_view name, std::string_view value) {
    if (name == "inset") {
        if (auto rect = parse_rect(value)) {
            set_inset(*rect);
            return true;
        }
    } else if (name == "childpadding") {
        if (auto number = parse_int(value); number && *number >= 0) {
            set_child_padding(*number);
            return true;
        }
    } else {
        return CControlUI::set_attribute(name, value);
    }
    debug_log(std::string(class_name()) + ": malformed attribute " + std::string(name));
    return false;
}

CControlUI* CContainerUI::add(std::unique_ptr<CControlUI> child) {
    return add_at(std::move(child), count());
}

CControlUI* CContainerUI::add_at(std::unique_ptr<CControlUI> child, int index) {
    if (!child) {
        return nullptr;
    }
    if (index < 0 || index > count()) {
        index = count();
    }
    CControlUI* raw = child.get();
    items_.insert(items_.begin() + index, std::move(child));
    raw->set_manager(manager(), this);
    on_child_added(*raw);
    need_update();
    invalidate();
    return raw;
}

bool CContainerUI::remove(CControlUI* child) {
    auto it = std::find_if(items_.begin(), items_.end(),
                           [child](const auto& item) { return item.get() == child; });
    if (it == items_.end()) {
        return false;
    }
    if (manager() != nullptr) {
        manager()->forget(child);
    }
    invalidate();
    items_.erase(it);
    need_update();
    return true;
}

void CContainerUI::remove_all() {
    while (!items_.empty()) {
        remove(items_.back().get());
    }
}

CControlUI* CContainerUI::item_at(int index) const {
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    return items_[index].get();
}

int CContainerUI::index_of(const CControlUI* child) const {
    for (int i = 0; i < count(); ++i) {
        if (items_[i].get() == child) {
            return i;
        }
    }
    return -1;
}

void CContainerUI::set_inset(const Rect& inset) {
    inset_ = inset;
    need_update();
}

void CContainerUI::set_child_padding(int padding) {
    child_padding_ = std::max(padding, 0);
    need_update();
}

Rect CContainerUI::client_rect() const {
    return pos().deflate(inset_);
}

void CContainerUI::set_pos(const Rect& pos) {
    CControlUI::set_pos(pos);
    layout_children();
}

void CContainerUI::layout_children() {
    Rect client = client_rect();
    for (auto& item : items_) {
        if (!item->visible()) {
            continue;
        }
        if (item->is_float()) {
            place_float(*item);
            continue;
        }
        Rect area = client.deflate(item->padding());
        int width = item->fixed_width() > 0 ? item->fixed_width() : area.width();
        int height = item->fixed_height() > 0 ? item->fixed_height() : area.height();
        width = item->clamp_width(width);
        height = item->clamp_height(height);
        item->set_pos(Rect{area.left, area.top, area.left + width, area.top + height});
    }
}

void CContainerUI::place_float(CControlUI& child) const {
    // Layouts write float positions against the whole parent; the inset only keeps the
    // flowing children off the edges.
    const Rect& own = pos();
    const Rect& fp = child.float_pos();
    Rect rect = fp.offset(own.left, own.top);
    // "l,t,0,0" with a width and height is the usual way to write a float position; a right
    // or bottom of 0 is not given even when left or top is negative ("3,-2,0,0").
    if (!float_extent_given(fp.left, fp.right)) {
        rect.right = child.fixed_width() > 0 ? rect.left + child.fixed_width() : own.right;
    }
    if (!float_extent_given(fp.top, fp.bottom)) {
        rect.bottom = child.fixed_height() > 0 ? rect.top + child.fixed_height() : own.bottom;
    }
    child.set_pos(rect);
}

void CContainerUI::do_paint(Canvas& canvas, const Rect& dirty) {
    Rect area = pos().intersect(dirty);
    if (area.empty()) {
        return;
    }
    CControlUI::do_paint(canvas, dirty);
    ClipScope clip(canvas, area);
    for (auto& item : items_) {
        if (item->visible()) {
            item->do_paint(canvas, area);
        }
    }
}

CControlUI* CContainerUI::find_control_at(Point point) {
    if (!visible() || !enabled() || !pos().contains(point)) {
        return nullptr;
    }
    // Later children are drawn over earlier ones, so they are asked first.
    for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
        if (CControlUI* hit = (*it)->find_control_at(point)) {
            return hit;
        }
    }
    return this;
}

void CContainerUI::for_each(const std::function<void(CControlUI&)>& visit) {
    visit(*this);
    for (auto& item : items_) {
        item->for_each(visit);
    }
}

void CContainerUI::set_manager(CPaintManagerUI* manager, CControlUI* parent) {
    CControlUI::set_manager(manager, parent);
    for (auto& item : items_) {
        item->set_manager(manager, this);
    }
}

}  // namespace talvoro::ui
