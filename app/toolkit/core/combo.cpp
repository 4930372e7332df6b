#include "core/combo.h"

#include <algorithm>
#include <cstdio>

#include "core/attribute_values.h"
#include "core/combo_drop.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"

namespace talvoro::ui {
namespace {

std::string color_text(Color color) {
    char text[16];
    std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(color.argb()));
    return text;
}

}  // namespace

CComboUI::~CComboUI() {
    close();
}

bool CComboUI::set_attribute(std::string_view name, std::string_view value) {
    Color* color = nullptr;
    if (name == "itemtextcolor") {
        color = &item_text_color_;
    } else if (name == "itemhottextcolor") {
        color = &item_hot_text_color_;
    } else if (name == "itemhotbkcolor") {
        color = &item_hot_bk_color_;
    } else if (name == "itemselectedbkcolor") {
        color = &item_selected_bk_color_;
    } else if (name == "dropbkcolor") {
        color = &drop_bk_color_;
    }
    if (color != nullptr) {
        auto parsed = parse_color(value);
        if (!parsed) {
            debug_log("Combo: malformed attribute " + std::string(name));
            return false;
        }
        *color = *parsed;
        style_items();
        return true;
    }
    if (name == "itemfont") {
        auto font = parse_int(value);
        if (!font || *font < -1) {
            debug_log("Combo: malformed attribute itemfont");
            return false;
        }
        item_font_ = *font;
        style_items();
        return true;
    }
    if (name == "dropboxsize") {
        auto size = parse_size(value);
        if (!size || size->width < 0 || size->height < 0) {
            debug_log("Combo: malformed attribute dropboxsize");
            return false;
        }
        drop_box_size_ = *size;
        return true;
    }
    return CContainerUI::set_attribute(name, value);
}

CListLabelElementUI* CComboUI::add_item(std::string text) {
    auto item = std::make_unique<CListLabelElementUI>();
    item->set_text(std::move(text));
    return static_cast<CListLabelElementUI*>(add(std::move(item)));
}

void CComboUI::on_child_added(CControlUI& child) {
    style_item(child);
    // An item added while the list is shown takes its place in it at once.
    if (drop_ != nullptr) {
        drop_->set_pos(drop_->pos());
    }
}

void CComboUI::style_item(CControlUI& item) {
    auto* element = dynamic_cast<CListLabelElementUI*>(&item);
    if (element == nullptr) {
        return;
    }
    element->set_item_font(item_font_);
    element->set_item_text_color(item_text_color_);
    element->set_hot_text_color(item_hot_text_color_);
    element->set_hot_bk_color(item_hot_bk_color_);
    element->set_selected_bk_color(item_selected_bk_color_);
    element->set_on_activate(
        [this](CListLabelElementUI& activated) { on_item_activated(activated); });
}

void CComboUI::style_items() {
    for (int i = 0; i < count(); ++i) {
        style_item(*item_at(i));
    }
    invalidate();
}

bool CComboUI::select_item(int index, bool notify) {
    if (index < -1 || index >= count()) {
        return false;
    }
    if (index == current_) {
        return true;
    }
    int previous = current_;
    current_ = index;
    for (int i = 0; i < count(); ++i) {
        if (auto* element = dynamic_cast<CListLabelElementUI*>(item_at(i))) {
            element->set_selected(i == index);
        }
    }
    set_text(index >= 0 ? item_at(index)->text() : std::string());
    if (notify) {
        send_notify("itemselect", static_cast<uintptr_t>(index), previous);
    }
    return true;
}

int CComboUI::item_height(const CControlUI& item) const {
    return item.fixed_height() > 0 ? item.fixed_height() : CListLabelElementUI::kDefaultHeight;
}

Rect CComboUI::drop_rect() const {
    int content = border_color().is_none() ? 0 : 2 * border_size();
    for (int i = 0; i < count(); ++i) {
        if (item_at(i)->visible()) {
            content += item_height(*item_at(i));
        }
    }
    int width = drop_box_size_.width > 0 ? drop_box_size_.width : pos().width();
    int height = drop_box_size_.height > 0 ? std::min(drop_box_size_.height, content) : content;
    Size client = manager() != nullptr ? manager()->client_size() : Size{};
    Rect rect{pos().left, pos().bottom, pos().left + width, pos().bottom + height};
    if (rect.bottom > client.height && pos().top - height >= 0) {
        rect = Rect{rect.left, pos().top - height, rect.right, pos().top};
    }
    if (rect.right > client.width) {
        rect = rect.offset(std::max(client.width - width, 0) - rect.left, 0);
    }
    return rect;
}

bool CComboUI::open() {
    if (drop_ != nullptr) {
        return true;
    }
    if (manager() == nullptr || count() == 0 || !enabled() || !visible()) {
        return false;
    }
    for (int i = 0; i < count(); ++i) {
        if (auto* element = dynamic_cast<CListLabelElementUI*>(item_at(i))) {
            element->set_hot(false);
        }
    }
    auto drop = std::make_unique<CComboDropUI>(*this);
    drop->set_attribute("bkcolor", color_text(drop_bk_color_));
    if (border_size() > 0 && !border_color().is_none()) {
        drop->set_attribute("bordersize", std::to_string(border_size()));
        drop->set_attribute("bordercolor", color_text(border_color()));
    }
    drop_ = manager()->open_overlay(std::move(drop), drop_rect(),
                                    [this](std::unique_ptr<CControlUI>&) { drop_ = nullptr; });
    return drop_ != nullptr;
}

void CComboUI::close() {
    if (drop_ != nullptr && manager() != nullptr) {
        manager()->close_overlay(drop_);
    }
    drop_ = nullptr;
}

void CComboUI::on_item_activated(CListLabelElementUI& item) {
    int index = index_of(&item);
    close();
    if (index >= 0) {
        select_item(index, true);
    }
}

void CComboUI::do_event(ControlEvent& event) {
    if (event.type == EventType::kButtonDown ||
        (event.type == EventType::kKeyDown && (event.key == kKeyReturn || event.key == kKeySpace ||
                                               is_drop_down_key(event.key, event.modifiers)))) {
        if (is_open()) {
            close();
        } else {
            open();
        }
        return;
    }
    if (event.type == EventType::kKeyDown && (event.key == kKeyUp || event.key == kKeyDown)) {
        // The arrows choose the item above or below, open or not, as on every desktop.
        const int next = current_ + (event.key == kKeyDown ? 1 : -1);
        if (next >= 0 && next < count()) {
            select_item(next);
        }
        return;
    }
    CContainerUI::do_event(event);
}

void CComboUI::do_paint(Canvas& canvas, const Rect& dirty) {
    CControlUI::do_paint(canvas, dirty);
}

CControlUI* CComboUI::find_control_at(Point point) {
    return CControlUI::find_control_at(point);
}

}  // namespace talvoro::ui
