#include "core/menu.h"

#include <algorithm>
#include <cstdio>
#include <pugixml.hpp>

#include "core/attribute_values.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "core/step_round.h"
#include "render/debug_log.h"

namespace talvoro::ui {
namespace {

constexpr Color kDefaultTextColor{255, 255, 255, 255};
constexpr Color kDefaultHotBkColor{255, 0x3C, 0x3C, 0x3C};
constexpr int kInset = 2;
// Submenus inside submenus; a deeper file is cut there rather than recursing without end.
constexpr int kMaxDepth = 16;

std::string color_text(Color color) {
    char text[16];
    std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(color.argb()));
    return text;
}

void read_entries(CMenuUI& menu, const pugi::xml_node& node, int depth) {
    for (pugi::xml_node child : node.children("MenuElement")) {
        CMenuElementUI* element = nullptr;
        bool has_entries = static_cast<bool>(child.child("MenuElement"));
        if (has_entries && depth < kMaxDepth) {
            CMenuUI* sub = menu.add_submenu({}, 0);
            element = static_cast<CMenuElementUI*>(menu.item_at(menu.count() - 1));
            read_entries(*sub, child, depth + 1);
        } else {
            element = menu.add_item({}, 0);
        }
        for (pugi::xml_attribute attribute : child.attributes()) {
            element->set_attribute(attribute.name(), attribute.value());
        }
    }
}

// Moves `rect` inside the window where it can, keeping its size.
Rect keep_inside(Rect rect, Size client) {
    if (rect.right > client.width) {
        rect = rect.offset(std::max(client.width - rect.width(), 0) - rect.left, 0);
    }
    if (rect.bottom > client.height) {
        rect = rect.offset(0, std::max(client.height - rect.height(), 0) - rect.top);
    }
    return rect;
}

}  // namespace

CMenuUI::CMenuUI() {
    set_inset(Rect{kInset, kInset, kInset, kInset});
}

CMenuUI::~CMenuUI() = default;

bool CMenuUI::set_attribute(std::string_view name, std::string_view value) {
    Color* color = nullptr;
    if (name == "itemtextcolor") {
        color = &item_text_color_;
    } else if (name == "itemhottextcolor") {
        color = &item_hot_text_color_;
    } else if (name == "itemhotbkcolor") {
        color = &item_hot_bk_color_;
    }
    if (color == nullptr) {
        return CContainerUI::set_attribute(name, value);
    }
    auto parsed = parse_color(value);
    if (!parsed) {
        debug_log("Menu: malformed attribute " + std::string(name));
        return false;
    }
    *color = *parsed;
    return true;
}

CMenuElementUI* CMenuUI::add_item(std::string text, int command) {
    auto element = std::make_unique<CMenuElementUI>();
    element->set_text(std::move(text));
    element->set_command(command);
    return static_cast<CMenuElementUI*>(add(std::move(element)));
}

CMenuElementUI* CMenuUI::add_separator() {
    CMenuElementUI* element = add_item({}, 0);
    element->set_separator(true);
    return element;
}

CMenuUI* CMenuUI::add_submenu(std::string text, int command) {
    return &add_item(std::move(text), command)->submenu();
}

std::unique_ptr<CMenuUI> CMenuUI::load(std::string_view xml) {
    pugi::xml_document document;
    if (!document.load_buffer(xml.data(), xml.size())) {
        debug_log("menu: malformed XML");
        return nullptr;
    }
    pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "Menu") {
        debug_log("menu: the document is not a Menu");
        return nullptr;
    }
    auto menu = std::make_unique<CMenuUI>();
    for (pugi::xml_attribute attribute : root.attributes()) {
        menu->set_attribute(attribute.name(), attribute.value());
    }
    read_entries(*menu, root, 0);
    return menu;
}

Size CMenuUI::measure() const {
    int height = inset().top + inset().bottom;
    for (int i = 0; i < count(); ++i) {
        auto* element = dynamic_cast<CMenuElementUI*>(item_at(i));
        if (element != nullptr && element->visible()) {
            height += element->height();
        }
    }
    return Size{fixed_width() > 0 ? fixed_width() : kDefaultWidth, height};
}

void CMenuUI::set_pos(const Rect& pos) {
    CControlUI::set_pos(pos);
    Rect client = client_rect();
    int top = client.top;
    for (int i = 0; i < count(); ++i) {
        auto* element = dynamic_cast<CMenuElementUI*>(item_at(i));
        if (element == nullptr || !element->visible()) {
            continue;
        }
        element->set_pos(Rect{client.left, top, client.right, top + element->height()});
        top += element->height();
    }
}

void CMenuUI::style_item(CMenuElementUI& item) const {
    item.set_item_font(font());
    item.set_item_text_color(item_text_color_.is_none() ? kDefaultTextColor : item_text_color_);
    item.set_hot_text_color(item_hot_text_color_);
    item.set_hot_bk_color(item_hot_bk_color_.is_none() ? kDefaultHotBkColor : item_hot_bk_color_);
    item.set_hot(false);
}

void CMenuUI::inherit_from(const CMenuUI& parent) {
    if (fixed_width() == 0) {
        set_fixed_width(parent.measure().width);
    }
    if (bk_color().is_none() && !parent.bk_color().is_none()) {
        set_attribute("bkcolor", color_text(parent.bk_color()));
    }
    if (font() < 0 && parent.font() >= 0) {
        set_attribute("font", std::to_string(parent.font()));
    }
    if (item_text_color_.is_none()) {
        item_text_color_ = parent.item_text_color_;
    }
    if (item_hot_text_color_.is_none()) {
        item_hot_text_color_ = parent.item_hot_text_color_;
    }
    if (item_hot_bk_color_.is_none()) {
        item_hot_bk_color_ = parent.item_hot_bk_color_;
    }
}

CMenuUI* CMenuUI::shown_menu(const CPaintManagerUI& manager) {
    for (size_t i = 0; i < manager.overlay_count(); ++i) {
        auto* menu = dynamic_cast<CMenuUI*>(manager.overlay(i));
        if (menu != nullptr && menu->is_chain_root_) {
            return menu;
        }
    }
    return nullptr;
}

CMenuUI* CMenuUI::show(CPaintManagerUI& manager, std::unique_ptr<CMenuUI> menu, Point at,
                       int close_command) {
    if (!menu) {
        return nullptr;
    }
    if (CMenuUI* previous = shown_menu(manager)) {
        manager.close_overlay(previous);
    }
    menu->is_chain_root_ = true;
    menu->close_command_ = close_command;
    menu->chosen_.reset();
    menu->parent_menu_ = nullptr;
    menu->set_manager(&manager, nullptr);
    for (int i = 0; i < menu->count(); ++i) {
        if (auto* element = dynamic_cast<CMenuElementUI*>(menu->item_at(i))) {
            menu->style_item(*element);
        }
    }
    Size size = menu->measure();
    Rect rect =
        keep_inside(Rect{at.x, at.y, at.x + size.width, at.y + size.height}, manager.client_size());
    CPaintManagerUI* window = &manager;
    return static_cast<CMenuUI*>(
        manager.open_overlay(std::move(menu), rect, [window](std::unique_ptr<CControlUI>& closed) {
            auto* root = static_cast<CMenuUI*>(closed.get());
            std::optional<int> chosen = root->chosen_;
            int close = root->close_command_;
            // Told last, so a handler that opens a new menu does not see this one.
            window->send_command(close);
            if (chosen) {
                window->send_command(*chosen);
            }
        }));
}

CMenuUI& CMenuUI::root_menu() {
    CMenuUI* menu = this;
    while (menu->parent_menu_ != nullptr) {
        menu = menu->parent_menu_;
    }
    return *menu;
}

void CMenuUI::on_element_entered(CMenuElementUI& element) {
    if (expanded_ != nullptr && expanded_ != &element) {
        if (manager() != nullptr && expanded_->open_submenu_ != nullptr) {
            manager()->close_overlay(expanded_->open_submenu_);
        }
    }
    if (element.has_submenu_ && element.open_submenu_ == nullptr) {
        open_submenu(element);
    }
}

void CMenuUI::open_submenu(CMenuElementUI& element) {
    if (manager() == nullptr || !element.submenu_ || element.submenu_->count() == 0) {
        return;
    }
    std::unique_ptr<CMenuUI> sub = std::move(element.submenu_);
    sub->parent_menu_ = this;
    sub->is_chain_root_ = false;
    sub->inherit_from(*this);
    sub->set_manager(manager(), nullptr);
    for (int i = 0; i < sub->count(); ++i) {
        if (auto* entry = dynamic_cast<CMenuElementUI*>(sub->item_at(i))) {
            sub->style_item(*entry);
        }
    }
    Size size = sub->measure();
    Size client = manager()->client_size();
    int top = element.pos().top - sub->inset().top;
    Rect rect{pos().right, top, pos().right + size.width, top + size.height};
    if (rect.right > client.width) {
        // No room on the right: the submenu opens to the left of its menu.
        int left = std::max(pos().left - size.width, 0);
        rect = Rect{left, top, left + size.width, top + size.height};
    }
    if (rect.bottom > client.height) {
        rect = rect.offset(0, std::max(client.height - size.height, 0) - rect.top);
    }
    CMenuUI* menu = this;
    CMenuElementUI* entry = &element;
    CMenuUI* shown = static_cast<CMenuUI*>(manager()->open_overlay(
        std::move(sub), rect, [menu, entry](std::unique_ptr<CControlUI>& closed) {
            // The entry keeps its submenu for the next time it is shown.
            entry->submenu_.reset(static_cast<CMenuUI*>(closed.release()));
            entry->submenu_->expanded_ = nullptr;
            entry->open_submenu_ = nullptr;
            entry->set_hot(false);
            if (menu->expanded_ == entry) {
                menu->expanded_ = nullptr;
            }
        }));
    element.open_submenu_ = shown;
    expanded_ = &element;
}

void CMenuUI::do_event(ControlEvent& event) {
    if (event.type != EventType::kKeyDown) {
        CContainerUI::do_event(event);
        return;
    }
    std::vector<CMenuElementUI*> entries;
    CMenuElementUI* lit = nullptr;
    for (int i = 0; i < count(); ++i) {
        auto* entry = dynamic_cast<CMenuElementUI*>(item_at(i));
        if (entry != nullptr && !entry->is_separator() && entry->visible() && entry->enabled()) {
            entries.push_back(entry);
            if (entry->hot()) {
                lit = entry;
            }
        }
    }
    if (is_drop_down_key(event.key, event.modifiers)) {
        // Alt+Up closes the whole menu, as it closes a drop-down list.
        if (event.key == kKeyUp && root_menu().manager() != nullptr) {
            root_menu().manager()->close_overlay(&root_menu());
        }
        return;
    }
    if (entries.empty()) {
        return;
    }
    switch (event.key) {
        case kKeyDown:
        case kKeyUp: {
            const CMenuElementUI* next = step_round(entries, lit, event.key == kKeyDown);
            for (CMenuElementUI* entry : entries) {
                entry->set_hot(entry == next);
            }
            break;
        }
        case kKeyRight:
        case kKeyReturn:
        case kKeySpace:
            if (lit == nullptr) {
                break;
            }
            if (lit->has_submenu()) {
                on_element_entered(*lit);
                // The submenu opens with its first entry lit, for the arrows to go on from.
                if (CMenuUI* sub = lit->open_submenu()) {
                    ControlEvent down{EventType::kKeyDown, event.point, 0, kKeyDown, {}, {}};
                    sub->do_event(down);
                }
            } else if (event.key != kKeyRight) {
                choose(lit->command());
            }
            break;
        case kKeyLeft:
            if (parent_menu_ != nullptr && manager() != nullptr) {
                // Back in the menu it opened from, on the entry that opened it.
                CMenuElementUI* opener = parent_menu_->expanded_;
                manager()->close_overlay(this);
                if (opener != nullptr) {
                    opener->set_hot(true);
                }
            }
            break;
        default:
            break;
    }
}

void CMenuUI::choose(int command) {
    CMenuUI& root = root_menu();
    root.chosen_ = command;
    if (root.manager() != nullptr) {
        root.manager()->close_overlay(&root);
    }
}

}  // namespace talvoro::ui
