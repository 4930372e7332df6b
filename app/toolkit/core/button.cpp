#include "core/button.h"

#include "core/key_codes.h"

namespace talvoro::ui {

bool CButtonUI::set_attribute(std::string_view name, std::string_view value) {
    std::string* target = nullptr;
    if (name == "normalimage") {
        target = &normal_image_;
    } else if (name == "hotimage") {
        target = &hot_image_;
    } else if (name == "pushedimage") {
        target = &pushed_image_;
    } else if (name == "disabledimage") {
        target = &disabled_image_;
    } else {
        return CLabelUI::set_attribute(name, value);
    }
    *target = std::string(value);
    invalidate();
    return true;
}

void CButtonUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kMouseEnter:
            hot_ = true;
            invalidate();
            break;
        case EventType::kMouseLeave:
            hot_ = false;
            invalidate();
            break;
        case EventType::kButtonDown:
            pushed_ = true;
            invalidate();
            break;
        case EventType::kButtonUp:
            if (pushed_) {
                pushed_ = false;
                invalidate();
                if (pos().contains(event.point)) {
                    activate();
                }
            }
            break;
        case EventType::kKeyDown:
            // Enter and Space press it, as a click does.
            if (event.key == kKeyReturn || event.key == kKeySpace ||
                (opens_menu_ && is_drop_down_key(event.key, event.modifiers))) {
                activate();
            }
            break;
        default:
            CLabelUI::do_event(event);
    }
}

void CButtonUI::set_enabled(bool enabled) {
    if (!enabled) {
        hot_ = false;
        pushed_ = false;
    }
    CLabelUI::set_enabled(enabled);
}

bool CButtonUI::activate() {
    if (!enabled() || !visible()) {
        return false;
    }
    send_notify("click");
    return true;
}

const std::string& CButtonUI::button_state_image() const {
    if (!enabled() && !disabled_image_.empty()) {
        return disabled_image_;
    }
    if (pushed_ && !pushed_image_.empty()) {
        return pushed_image_;
    }
    if (hot_ && !hot_image_.empty()) {
        return hot_image_;
    }
    return normal_image_;
}

void CButtonUI::paint_status_image(Canvas& canvas) {
    const std::string& image = button_state_image();
    if (!image.empty()) {
        draw_image(canvas, image);
    }
}

}  // namespace talvoro::ui
