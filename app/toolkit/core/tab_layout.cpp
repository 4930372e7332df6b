#include "core/tab_layout.h"

#include "core/attribute_values.h"
#include "render/debug_log.h"

namespace talvoro::ui {

bool CTabLayoutUI::set_attribute(std::string_view name, std::string_view value) {
    if (name != "selectedid") {
        return CContainerUI::set_attribute(name, value);
    }
    auto index = parse_int(value);
    if (!index || *index < 0) {
        debug_log("TabLayout: malformed selectedid");
        return false;
    }
    select_item(*index);
    return true;
}

bool CTabLayoutUI::select_item(int index) {
    if (index < 0) {
        return false;
    }
    selected_ = index;
    apply_visibility();
    need_update();
    invalidate();
    return index < count();
}

void CTabLayoutUI::apply_visibility() {
    for (int i = 0; i < count(); ++i) {
        item_at(i)->set_visible(i == selected_);
    }
}

void CTabLayoutUI::on_child_added(CControlUI&) {
    apply_visibility();
}

void CTabLayoutUI::layout_children() {
    CControlUI* page = item_at(selected_);
    if (page == nullptr || !page->visible()) {
        return;
    }
    if (page->is_float()) {
        place_float(*page);
        return;
    }
    Rect area = client_rect().deflate(page->padding());
    int width = page->clamp_width(page->fixed_width() > 0 ? page->fixed_width() : area.width());
    int height =
        page->clamp_height(page->fixed_height() > 0 ? page->fixed_height() : area.height());
    page->set_pos(Rect{area.left, area.top, area.left + width, area.top + height});
}

}  // namespace talvoro::ui
