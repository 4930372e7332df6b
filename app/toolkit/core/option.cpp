#include "core/option.h"

#include <vector>

#include "core/attribute_values.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "core/step_round.h"
#include "render/debug_log.h"

namespace talvoro::ui {

bool COptionUI::set_attribute(std::string_view name, std::string_view value) {
    if (name == "group") {
        set_group(std::string(value));
    } else if (name == "selected") {
        auto flag = parse_bool(value);
        if (!flag) {
            debug_log("Option: malformed selected");
            return false;
        }
        selected(*flag, false);
    } else if (name == "selectedimage") {
        selected_image_ = std::string(value);
        invalidate();
    } else if (name == "selectedhotimage") {
        selected_hot_image_ = std::string(value);
        invalidate();
    } else {
        return CButtonUI::set_attribute(name, value);
    }
    return true;
}

void COptionUI::selected(bool select, bool send) {
    if (select == selected_) {
        return;
    }
    selected_ = select;
    if (selected_) {
        clear_group_peers();
    }
    invalidate();
    if (send) {
        send_notify("selectchanged");
    }
}

void COptionUI::clear_group_peers() {
    if (group_.empty() || manager() == nullptr) {
        return;
    }
    manager()->for_each_control([this](CControlUI& control) {
        auto* other = dynamic_cast<COptionUI*>(&control);
        if (other != nullptr && other != this && other->group_ == group_) {
            other->selected(false, false);
        }
    });
}

void COptionUI::set_manager(CPaintManagerUI* manager, CControlUI* parent) {
    CButtonUI::set_manager(manager, parent);
    if (!selected_ || group_.empty() || manager == nullptr) {
        return;
    }
    // Joining a tree that is attached in order: a selected peer further on wins over this
    // one. Not yet in the window's tree: decided once it is.
    bool in_tree = false;
    bool later_peer_selected = false;
    manager->for_each_control([&](CControlUI& control) {
        if (&control == this) {
            in_tree = true;
            return;
        }
        auto* other = dynamic_cast<COptionUI*>(&control);
        if (in_tree && other != nullptr && other->group_ == group_ && other->selected_) {
            later_peer_selected = true;
        }
    });
    if (!in_tree) {
        return;
    }
    if (later_peer_selected) {
        selected_ = false;
        invalidate();
    } else {
        clear_group_peers();
    }
}

bool COptionUI::activate() {
    if (!CButtonUI::activate()) {
        return false;
    }
    if (!group_.empty()) {
        selected(true);
    } else {
        selected(!selected_);
    }
    return true;
}

void COptionUI::do_event(ControlEvent& event) {
    if (event.type == EventType::kKeyDown && !group_.empty() && !event.modifiers.alt &&
        !event.modifiers.control) {
        const bool forwards = event.key == kKeyRight || event.key == kKeyDown;
        if (forwards || event.key == kKeyLeft || event.key == kKeyUp) {
            if (COptionUI* next = group_neighbour(forwards)) {
                // The handlers of the choice may change the page; the focus is moved first.
                manager()->set_focus(next);
                next->activate();
            }
            return;
        }
    }
    CButtonUI::do_event(event);
}

COptionUI* COptionUI::group_neighbour(bool forwards) {
    CPaintManagerUI* owner = manager();
    if (owner == nullptr) {
        return nullptr;
    }
    std::vector<COptionUI*> peers;
    owner->for_each_control([&](CControlUI& control) {
        auto* option = dynamic_cast<COptionUI*>(&control);
        if (option != nullptr && option->group_ == group_ &&
            (option == this || owner->can_focus(*option))) {
            peers.push_back(option);
        }
    });
    COptionUI* next = step_round(peers, this, forwards);
    return next != this ? next : nullptr;
}

void COptionUI::paint_status_image(Canvas& canvas) {
    if (selected_ && enabled()) {
        if (hot() && !selected_hot_image_.empty() && draw_image(canvas, selected_hot_image_)) {
            return;
        }
        if (!selected_image_.empty() && draw_image(canvas, selected_image_)) {
            return;
        }
    }
    CButtonUI::paint_status_image(canvas);
}

}  // namespace talvoro::ui
