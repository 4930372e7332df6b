#include "core/combo_drop.h"

#include "core/combo.h"

namespace talvoro::ui {

void CComboDropUI::set_pos(const Rect& pos) {
    CControlUI::set_pos(pos);
    Rect client = pos.deflate(Rect{border_size(), border_size(), border_size(), border_size()});
    int top = client.top;
    for (int i = 0; i < owner_.count(); ++i) {
        CControlUI* item = owner_.item_at(i);
        if (!item->visible()) {
            continue;
        }
        int height = owner_.item_height(*item);
        item->set_pos(Rect{client.left, top, client.right, top + height});
        top += height;
    }
}

void CComboDropUI::do_paint(Canvas& canvas, const Rect& dirty) {
    Rect area = pos().intersect(dirty);
    if (area.empty()) {
        return;
    }
    ClipScope clip(canvas, area);
    paint_bk_color(canvas);
    {
        // Items beyond the drop-down's height are cut off, not drawn over the tree.
        Rect inner =
            pos().deflate(Rect{border_size(), border_size(), border_size(), border_size()});
        ClipScope items_clip(canvas, inner.intersect(area));
        for (int i = 0; i < owner_.count(); ++i) {
            CControlUI* item = owner_.item_at(i);
            if (item->visible()) {
                item->do_paint(canvas, area);
            }
        }
    }
    paint_border(canvas);
}

CControlUI* CComboDropUI::find_control_at(Point point) {
    if (!pos().contains(point)) {
        return nullptr;
    }
    for (int i = 0; i < owner_.count(); ++i) {
        CControlUI* item = owner_.item_at(i);
        if (item->pos().top >= pos().bottom) {
            break;
        }
        if (CControlUI* hit = item->find_control_at(point)) {
            return hit;
        }
    }
    return this;
}

void CComboDropUI::for_each(const std::function<void(CControlUI&)>& visit) {
    visit(*this);
    for (int i = 0; i < owner_.count(); ++i) {
        visit(*owner_.item_at(i));
    }
}

void CComboDropUI::do_event(ControlEvent& event) {
    if (event.type == EventType::kKeyDown) {
        owner_.do_event(event);
        return;
    }
    CControlUI::do_event(event);
}

}  // namespace talvoro::ui
