#include "diagnostics/ui_dump.h"

#include "atomic_file.h"
#include "core/combo_drop.h"
#include "core/menu.h"
#include "core/menu_element.h"
#include "core/option.h"
#include "core/window.h"
#include "diagnostics/control_shown.h"
#include "text/json_string.h"

namespace talvoro::ui {
namespace {

void append_rect(std::string& out, const Rect& r) {
    out += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
           std::to_string(r.right) + ',' + std::to_string(r.bottom) + ']';
}

// Where a control of `window` is on the screen, in the physical pixels a tool clicks at.
void append_screen_rect(std::string& out, const CWindowWnd& window, const Rect& client) {
    const Rect& at = window.rect();
    append_rect(out, window.scale().to_physical(client).offset(at.left, at.top));
}

// Every overlay of kind T of every live window, with its window.
template <typename T, typename Visit>
void for_each_overlay(Visit visit) {
    for (CWindowWnd* window : CWindowWnd::live_windows()) {
        const CPaintManagerUI& manager = window->manager();
        for (size_t i = 0; i < manager.overlay_count(); ++i) {
            if (auto* overlay = dynamic_cast<T*>(manager.overlay(i))) {
                visit(*window, *overlay);
            }
        }
    }
}

void append_controls(std::string& out) {
    out += "\"controls\":[";
    bool first = true;
    for (CWindowWnd* window : CWindowWnd::live_windows()) {
        window->manager().for_each_control([&](CControlUI& control) {
            if (control.name().empty()) {
                return;
            }
            out += first ? "\n" : ",\n";
            first = false;
            out += "{\"window\":";
            append_json_string(out, window->title());
            out += ",\"name\":";
            append_json_string(out, control.name());
            out += ",\"rect\":";
            append_screen_rect(out, *window, control.pos());
            out += ",\"visible\":";
            out += control_shown(control) ? "true" : "false";
            out += ",\"text\":";
            append_json_string(out, control.text());
            if (const auto* option = dynamic_cast<const COptionUI*>(&control)) {
                out += option->is_selected() ? ",\"selected\":true" : ",\"selected\":false";
            }
            out += '}';
        });
    }
    out += "\n]";
}

// The entries of every menu a window shows (a menu and the submenus open from it), for tools
// that click them: "menu" is the depth in the chain, 0 for the menu itself. Separators are left
// out; nothing happens on them.
void append_menu_entries(std::string& out) {
    out += ",\"menu_entries\":[";
    bool first = true;
    for_each_overlay<const CMenuUI>([&](CWindowWnd& window, const CMenuUI& menu) {
        int depth = 0;
        for (const CMenuUI* m = menu.parent_menu(); m != nullptr; m = m->parent_menu()) {
            ++depth;
        }
        for (int j = 0; j < menu.count(); ++j) {
            const auto* entry = dynamic_cast<const CMenuElementUI*>(menu.item_at(j));
            if (entry == nullptr || entry->is_separator() || !entry->visible()) {
                continue;
            }
            out += first ? "\n" : ",\n";
            first = false;
            out += "{\"window\":";
            append_json_string(out, window.title());
            out += ",\"menu\":" + std::to_string(depth);
            out += ",\"text\":";
            append_json_string(out, entry->text());
            out += ",\"rect\":";
            append_screen_rect(out, window, entry->pos());
            out += ",\"command\":" + std::to_string(entry->command());
            out += entry->has_submenu() ? ",\"submenu\":true}" : ",\"submenu\":false}";
        }
    });
    out += "\n]";
}

// The items of an open drop-down list, in order, for tools that choose from a combo as a person
// does: "index" is the item's position in its combo.
void append_drop_items(std::string& out) {
    out += ",\"drop_items\":[";
    bool first = true;
    for_each_overlay<CComboDropUI>([&](CWindowWnd& window, CComboDropUI& drop) {
        int index = 0;
        drop.for_each([&](CControlUI& item) {
            if (&item == &drop) {
                return;
            }
            out += first ? "\n" : ",\n";
            first = false;
            out += "{\"window\":";
            append_json_string(out, window.title());
            out += ",\"index\":" + std::to_string(index++);
            out += ",\"text\":";
            append_json_string(out, item.text());
            out += ",\"rect\":";
            append_screen_rect(out, window, item.pos());
            out += "}";
        });
    });
    out += "\n]";
}

// The scale of the first window (the main one): what a tool needs to turn logical sizes into
// the physical pixels above.
void append_scale(std::string& out) {
    const std::vector<CWindowWnd*> windows = CWindowWnd::live_windows();
    const int percent =
        windows.empty() ? default_display_scale().percent() : windows.front()->scale().percent();
    out += "\"scale\":" + std::to_string(percent) + ",\n";
}

// The control that has the keys' focus in the newest window that has one (a popup over the
// main window), by name; "" for none.
void append_focus(std::string& out) {
    std::string name;
    for (CWindowWnd* window : CWindowWnd::live_windows()) {
        if (const CControlUI* focus = window->manager().focus()) {
            name = focus->name();
        }
    }
    out += "\"focused\":";
    append_json_string(out, name);
    out += ",\n";
}

std::string ui_dump_json() {
    std::string out = "{";
    append_scale(out);
    append_focus(out);
    append_controls(out);
    append_menu_entries(out);
    append_drop_items(out);
    out += "}\n";
    return out;
}

}  // namespace

bool write_ui_dump(const std::string& path) {
    const std::string out = ui_dump_json();
    // Readers never see half a file, on either system.
    return write_file_atomically(path, out.data(), out.size());
}

}  // namespace talvoro::ui
