#include "core/menu_element.h"

#include "core/attribute_values.h"
#include "core/menu.h"
#include "render/debug_log.h"

namespace talvoro::ui {

CMenuElementUI::CMenuElementUI() = default;
CMenuElementUI::~CMenuElementUI() = default;

bool CMenuElementUI::set_attribute(std::string_view name, std::string_view value) {
    if (name == "command") {
        auto number = parse_int(value);
        if (!number) {
            debug_log("MenuElement: malformed attribute command");
            return false;
        }
        command_ = *number;
        return true;
    }
    if (name == "separator") {
        auto flag = parse_bool(value);
        if (!flag) {
            debug_log("MenuElement: malformed attribute separator");
            return false;
        }
        set_separator(*flag);
        return true;
    }
    return CListLabelElementUI::set_attribute(name, value);
}

void CMenuElementUI::set_separator(bool separator) {
    separator_ = separator;
    need_update();
}

int CMenuElementUI::height() const {
    if (fixed_height() > 0) {
        return fixed_height();
    }
    return separator_ ? kSeparatorHeight : kItemHeight;
}

CMenuUI& CMenuElementUI::submenu() {
    if (open_submenu_ != nullptr) {
        return *open_submenu_;
    }
    if (!submenu_) {
        submenu_ = std::make_unique<CMenuUI>();
        has_submenu_ = true;
    }
    return *submenu_;
}

CMenuUI* CMenuElementUI::menu() const {
    return dynamic_cast<CMenuUI*>(parent());
}

void CMenuElementUI::do_event(ControlEvent& event) {
    CMenuUI* owner = menu();
    switch (event.type) {
        case EventType::kMouseEnter:
            set_hot(!separator_);
            if (owner != nullptr) {
                owner->on_element_entered(*this);
            }
            break;
        case EventType::kMouseLeave:
            // The entry of an open submenu stays lit while the pointer is in the submenu.
            set_hot(open_submenu_ != nullptr);
            break;
        case EventType::kButtonUp:
            if (!separator_ && enabled() && owner != nullptr && pos().contains(event.point)) {
                if (has_submenu_) {
                    owner->on_element_entered(*this);
                } else {
                    owner->choose(command_);
                }
            }
            break;
        default:
            break;
    }
}

void CMenuElementUI::paint_bk_color(Canvas& canvas) {
    if (separator_) {
        return;
    }
    CListLabelElementUI::paint_bk_color(canvas);
}

void CMenuElementUI::paint_text(Canvas& canvas) {
    if (separator_) {
        // A thin line across the middle, lighter than the usual dark menu background.
        int middle = (pos().top + pos().bottom) / 2;
        canvas.fill_rect(Rect{pos().left + 2, middle, pos().right - 2, middle + 1},
                         Color{255, 0x60, 0x60, 0x60});
        return;
    }
    CListLabelElementUI::paint_text(canvas);
}

}  // namespace talvoro::ui
