#include "core/slider.h"

#include <algorithm>

#include "core/attribute_values.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"
#include "render/image_descriptor.h"
#include "render/image_painter.h"

namespace talvoro::ui {

bool CSliderUI::set_attribute(std::string_view name, std::string_view value) {
    auto number = [&]() { return parse_int(value); };
    std::string* image = nullptr;
    if (name == "min" || name == "max" || name == "value" || name == "step") {
        auto parsed = number();
        if (!parsed) {
            debug_log("Slider: malformed attribute " + std::string(name));
            return false;
        }
        if (name == "min") {
            set_range(*parsed, std::max(*parsed, max_));
        } else if (name == "max") {
            set_range(std::min(min_, *parsed), *parsed);
        } else if (name == "value") {
            set_value(*parsed);
        } else {
            if (*parsed < 1) {
                debug_log("Slider: malformed attribute step");
                return false;
            }
            set_step(*parsed);
        }
        return true;
    }
    if (name == "hor") {
        auto flag = parse_bool(value);
        if (!flag) {
            debug_log("Slider: malformed attribute hor");
            return false;
        }
        set_horizontal(*flag);
        return true;
    }
    if (name == "thumbsize") {
        auto size = parse_size(value);
        if (!size || size->width < 0 || size->height < 0) {
            debug_log("Slider: malformed attribute thumbsize");
            return false;
        }
        thumb_size_ = *size;
        invalidate();
        return true;
    }
    if (name == "forecolor") {
        auto color = parse_color(value);
        if (!color) {
            debug_log("Slider: malformed attribute forecolor");
            return false;
        }
        fore_color_ = *color;
        invalidate();
        return true;
    }
    if (name == "thumbimage") {
        image = &thumb_image_;
    } else if (name == "thumbhotimage") {
        image = &thumb_hot_image_;
    } else if (name == "thumbpushedimage") {
        image = &thumb_pushed_image_;
    } else if (name == "foreimage") {
        image = &fore_image_;
    } else {
        return CControlUI::set_attribute(name, value);
    }
    *image = std::string(value);
    invalidate();
    return true;
}

void CSliderUI::set_range(int min_value, int max_value) {
    min_ = std::min(min_value, max_value);
    max_ = std::max(min_value, max_value);
    set_value(value_);
    invalidate();
}

void CSliderUI::set_value(int value) {
    int clamped = std::clamp(value, min_, max_);
    if (clamped != value_) {
        value_ = clamped;
        invalidate();
    }
}

void CSliderUI::set_step(int step) {
    step_ = std::max(step, 1);
}

void CSliderUI::set_horizontal(bool horizontal) {
    horizontal_ = horizontal;
    invalidate();
}

int CSliderUI::snap(int value) const {
    value = std::clamp(value, min_, max_);
    if (step_ > 1) {
        int steps = (value - min_ + step_ / 2) / step_;
        value = std::min(min_ + steps * step_, max_);
    }
    return value;
}

Rect CSliderUI::thumb_rect() const {
    const Rect& r = pos();
    int span = max_ - min_;
    if (horizontal_) {
        int travel = std::max(r.width() - thumb_size_.width, 0);
        int offset = span > 0 ? static_cast<int>(int64_t{value_ - min_} * travel / span) : 0;
        int top = r.top + (r.height() - thumb_size_.height) / 2;
        return Rect{r.left + offset, top, r.left + offset + thumb_size_.width,
                    top + thumb_size_.height};
    }
    // Vertical sliders grow upwards.
    int travel = std::max(r.height() - thumb_size_.height, 0);
    int offset = span > 0 ? static_cast<int>(int64_t{value_ - min_} * travel / span) : 0;
    int left = r.left + (r.width() - thumb_size_.width) / 2;
    return Rect{left, r.bottom - offset - thumb_size_.height, left + thumb_size_.width,
                r.bottom - offset};
}

int CSliderUI::value_at(Point point) const {
    const Rect& r = pos();
    int span = max_ - min_;
    int travel = horizontal_ ? r.width() - thumb_size_.width : r.height() - thumb_size_.height;
    if (span <= 0 || travel <= 0) {
        return min_;
    }
    // The thumb's centre follows the pointer.
    int along = horizontal_ ? point.x - r.left - thumb_size_.width / 2
                            : r.bottom - point.y - thumb_size_.height / 2;
    along = std::clamp(along, 0, travel);
    int64_t raw = min_ + (int64_t{along} * span + travel / 2) / travel;
    return snap(static_cast<int>(raw));
}

void CSliderUI::key_step(int key) {
    constexpr int kPageSteps = 10;
    // Up and Right raise the value on either kind of slider.
    int target = value_;
    switch (key) {
        case kKeyLeft:
        case kKeyDown:
            target = value_ - step_;
            break;
        case kKeyRight:
        case kKeyUp:
            target = value_ + step_;
            break;
        case kKeyNext:
            target = value_ - kPageSteps * step_;
            break;
        case kKeyPrior:
            target = value_ + kPageSteps * step_;
            break;
        case kKeyHome:
            target = min_;
            break;
        case kKeyEnd:
            target = max_;
            break;
        default:
            return;
    }
    const int before = value_;
    set_value(std::clamp(target, min_, max_));
    if (value_ != before) {
        invalidate();
        send_notify("valuechanged");
    }
}

void CSliderUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kButtonDown:
            if (!enabled()) {
                return;
            }
            dragging_ = true;
            value_at_press_ = value_;
            set_value(value_at(event.point));
            invalidate();
            break;
        case EventType::kMouseMove:
            if (dragging_) {
                set_value(value_at(event.point));
            } else {
                bool hot = thumb_rect().contains(event.point);
                if (hot != thumb_hot_) {
                    thumb_hot_ = hot;
                    invalidate();
                }
            }
            break;
        case EventType::kButtonUp:
            if (dragging_) {
                dragging_ = false;
                set_value(value_at(event.point));
                invalidate();
                if (value_ != value_at_press_) {
                    send_notify("valuechanged");
                }
            }
            break;
        case EventType::kMouseLeave:
            if (thumb_hot_) {
                thumb_hot_ = false;
                invalidate();
            }
            break;
        case EventType::kKeyDown:
            if (enabled() && !dragging_) {
                key_step(event.key);
            }
            break;
        case EventType::kKillFocus:
            // A lost capture (focus moved away mid-drag) ends the drag where it is.
            if (dragging_) {
                dragging_ = false;
                if (value_ != value_at_press_) {
                    send_notify("valuechanged");
                }
            }
            break;
        default:
            CControlUI::do_event(event);
    }
}

void CSliderUI::draw_image_in(Canvas& canvas, const std::string& descriptor, const Rect& dest) {
    if (manager() == nullptr || descriptor.empty()) {
        return;
    }
    auto parsed = parse_image_descriptor(descriptor);
    if (!parsed) {
        return;
    }
    draw_picture(canvas, manager()->image_cache(), *parsed, dest);
}

void CSliderUI::paint_status_image(Canvas& canvas) {
    Rect thumb = thumb_rect();
    Rect filled = pos();
    if (horizontal_) {
        filled.right = (thumb.left + thumb.right) / 2;
    } else {
        filled.top = (thumb.top + thumb.bottom) / 2;
    }
    if (!filled.empty()) {
        ClipScope clip(canvas, filled);
        if (!fore_color_.is_none()) {
            canvas.fill_rect(filled, fore_color_);
        }
        // The fore image spans the whole track; only its filled part shows.
        draw_image_in(canvas, fore_image_, pos());
    }
    const std::string* image = &thumb_image_;
    if (dragging_ && !thumb_pushed_image_.empty()) {
        image = &thumb_pushed_image_;
    } else if ((thumb_hot_ || dragging_) && !thumb_hot_image_.empty()) {
        image = &thumb_hot_image_;
    }
    draw_image_in(canvas, *image, thumb);
}

}  // namespace talvoro::ui
