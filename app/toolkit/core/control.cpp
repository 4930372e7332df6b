#include "core/control.h"

#include <algorithm>
#include <sstream>

#include "core/attribute_values.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"
#include "render/image_descriptor.h"
#include "render/image_painter.h"

namespace talvoro::ui {
namespace {

void log_bad(std::string_view control, std::string_view name, std::string_view value,
             std::string_view why) {
    std::ostringstream out;
    out << control << ": " << why << " attribute " << name << "=\"" << value << "\"";
    debug_log(out.str());
}

uint8_t lerp(uint8_t from, uint8_t to, int step, int steps) {
    return static_cast<uint8_t>(from + (static_cast<int>(to) - from) * step / steps);
}

}  // namespace

bool CControlUI::set_attribute(std::string_view name, std::string_view value) {
    auto bad = [&] {
        log_bad(name_.empty() ? class_name() : name_, name, value, "malformed");
        return false;
    };
    auto set_int = [&](auto&& apply, int minimum) {
        auto number = parse_int(value);
        if (!number || *number < minimum) {
            return bad();
        }
        apply(*number);
        return true;
    };
    auto set_rect = [&](auto&& apply) {
        auto rect = parse_rect(value);
        if (!rect) {
            return bad();
        }
        apply(*rect);
        return true;
    };
    auto set_flag = [&](auto&& apply) {
        auto flag = parse_bool(value);
        if (!flag) {
            return bad();
        }
        apply(*flag);
        return true;
    };
    if (name == "name") {
        set_name(std::string(value));
    } else if (name == "text") {
        set_text(std::string(value));
    } else if (name == "tooltip") {
        set_tooltip(std::string(value));
    } else if (name == "visible") {
        return set_flag([&](bool v) { set_visible(v); });
    } else if (name == "enabled") {
        return set_flag([&](bool v) { set_enabled(v); });
    } else if (name == "float") {
        return set_flag([&](bool v) { set_float(v); });
    } else if (name == "showhtml") {
        return set_flag([&](bool v) {
            show_html_ = v;
            invalidate();
        });
    } else if (name == "pos") {
        // The width and height written in "pos" become the fixed size, as layouts expect.
        return set_rect([&](const Rect& r) {
            if (float_extent_given(r.left, r.right)) {
                fixed_width_ = r.right - r.left;
            }
            if (float_extent_given(r.top, r.bottom)) {
                fixed_height_ = r.bottom - r.top;
            }
            set_float_pos(r);
        });
    } else if (name == "width") {
        return set_int([&](int v) { set_fixed_width(v); }, 0);
    } else if (name == "height") {
        return set_int([&](int v) { set_fixed_height(v); }, 0);
    } else if (name == "minwidth") {
        return set_int([&](int v) { min_width_ = v, need_update(); }, 0);
    } else if (name == "maxwidth") {
        return set_int([&](int v) { max_width_ = v, need_update(); }, 0);
    } else if (name == "minheight") {
        return set_int([&](int v) { min_height_ = v, need_update(); }, 0);
    } else if (name == "maxheight") {
        return set_int([&](int v) { max_height_ = v, need_update(); }, 0);
    } else if (name == "padding") {
        return set_rect([&](const Rect& r) { set_padding(r); });
    } else if (name == "textpadding") {
        return set_rect([&](const Rect& r) {
            text_padding_ = r;
            invalidate();
        });
    } else if (name == "bkcolor") {
        return set_color(bk_color_, value) || bad();
    } else if (name == "bkcolor2") {
        return set_color(bk_color2_, value) || bad();
    } else if (name == "bordercolor") {
        return set_color(border_color_, value) || bad();
    } else if (name == "textcolor") {
        return set_color(text_color_, value) || bad();
    } else if (name == "disabledtextcolor") {
        return set_color(disabled_text_color_, value) || bad();
    } else if (name == "bordersize") {
        return set_int(
            [&](int v) {
                border_size_ = v;
                invalidate();
            },
            0);
    } else if (name == "bkimage") {
        bk_image_ = std::string(value);
        invalidate();
    } else if (name == "align") {
        return set_align(value, false) || bad();
    } else if (name == "valign") {
        return set_align(value, true) || bad();
    } else if (name == "font") {
        return set_int(
            [&](int v) {
                font_ = v;
                invalidate();
            },
            -1);
    } else {
        log_bad(name_.empty() ? class_name() : name_, name, value, "unknown");
        return false;
    }
    return true;
}

bool CControlUI::set_color(Color& target, std::string_view value) {
    auto color = parse_color(value);
    if (!color) {
        return false;
    }
    target = *color;
    invalidate();
    return true;
}

bool CControlUI::set_align(std::string_view value, bool vertical_only) {
    unsigned horizontal = text_align_ & (kTextCenter | kTextRight);
    unsigned vertical = text_align_ & (kTextVCenter | kTextBottom);
    bool any = false;
    size_t start = 0;
    while (start <= value.size()) {
        size_t end = value.find_first_of(" ,", start);
        if (end == std::string_view::npos) {
            end = value.size();
        }
        std::string_view word = value.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        if (!vertical_only && word == "left") {
            horizontal = kTextLeft;
        } else if (!vertical_only && word == "center") {
            horizontal = kTextCenter;
        } else if (!vertical_only && word == "right") {
            horizontal = kTextRight;
        } else if (word == "top") {
            vertical = kTextTop;
        } else if (word == "vcenter") {
            vertical = kTextVCenter;
        } else if (word == "bottom") {
            vertical = kTextBottom;
        } else {
            return false;
        }
        any = true;
    }
    if (!any) {
        return false;
    }
    text_align_ = horizontal | vertical;
    invalidate();
    return true;
}

void CControlUI::set_text(std::string text) {
    if (text != text_) {
        text_ = std::move(text);
        invalidate();
    }
}

void CControlUI::set_visible(bool visible) {
    if (visible != visible_) {
        invalidate();  // the area it leaves
        visible_ = visible;
        need_update();
        invalidate();
    }
}

void CControlUI::set_enabled(bool enabled) {
    if (enabled != enabled_) {
        enabled_ = enabled;
        invalidate();
    }
}

void CControlUI::set_float(bool is_float) {
    float_ = is_float;
    need_update();
}

void CControlUI::set_float_pos(const Rect& pos) {
    float_pos_ = pos;
    need_update();
}

void CControlUI::set_fixed_width(int width) {
    fixed_width_ = std::max(width, 0);
    need_update();
}

void CControlUI::set_fixed_height(int height) {
    fixed_height_ = std::max(height, 0);
    need_update();
}

int CControlUI::clamp_width(int width) const {
    if (max_width_ > 0) {
        width = std::min(width, max_width_);
    }
    return std::max(width, min_width_);
}

int CControlUI::clamp_height(int height) const {
    if (max_height_ > 0) {
        height = std::min(height, max_height_);
    }
    return std::max(height, min_height_);
}

void CControlUI::set_padding(const Rect& padding) {
    padding_ = padding;
    need_update();
}

void CControlUI::set_pos(const Rect& pos) {
    if (pos == pos_) {
        return;
    }
    invalidate();
    pos_ = pos;
    invalidate();
}

void CControlUI::do_paint(Canvas& canvas, const Rect& dirty) {
    Rect area = pos_.intersect(dirty);
    if (area.empty()) {
        return;
    }
    ClipScope clip(canvas, area);
    paint_bk_color(canvas);
    paint_bk_image(canvas);
    paint_status_image(canvas);
    paint_text(canvas);
    paint_border(canvas);
}

void CControlUI::paint_bk_color(Canvas& canvas) {
    if (bk_color2_.is_none()) {
        if (!bk_color_.is_none()) {
            canvas.fill_rect(pos_, bk_color_);
        }
        return;
    }
    // A second colour makes a top-to-bottom gradient.
    int rows = pos_.height();
    for (int row = 0; row < rows; ++row) {
        Color c{
            lerp(bk_color_.a, bk_color2_.a, row, rows), lerp(bk_color_.r, bk_color2_.r, row, rows),
            lerp(bk_color_.g, bk_color2_.g, row, rows), lerp(bk_color_.b, bk_color2_.b, row, rows)};
        canvas.fill_rect(Rect{pos_.left, pos_.top + row, pos_.right, pos_.top + row + 1}, c);
    }
}

void CControlUI::paint_bk_image(Canvas& canvas) {
    if (!bk_image_.empty()) {
        draw_image(canvas, bk_image_);
    }
}

void CControlUI::paint_status_image(Canvas&) {}

void CControlUI::paint_text(Canvas& canvas) {
    if (text_.empty()) {
        return;
    }
    static const FontStyle kDefault{};
    const FontStyle& spec = manager_ != nullptr ? manager_->font(font_) : kDefault;
    Color color = text_color_;
    if (!enabled_ && !disabled_text_color_.is_none()) {
        color = disabled_text_color_;
    }
    unsigned flags = text_flags() | text_align_ | (show_html_ ? kTextMarkup : 0u);
    draw_text(canvas, pos_, text_, spec, color, flags, text_padding_);
}

void CControlUI::paint_border(Canvas& canvas) {
    if (border_size_ > 0 && !border_color_.is_none()) {
        canvas.draw_border(pos_, border_color_, border_size_);
    }
}

bool CControlUI::draw_image(Canvas& canvas, std::string_view descriptor) {
    if (manager_ == nullptr) {
        return false;
    }
    auto parsed = parse_image_descriptor(descriptor);
    if (!parsed) {
        return false;
    }
    return draw_picture(canvas, manager_->image_cache(), *parsed, pos_);
}

void CControlUI::do_event(ControlEvent&) {}

CControlUI* CControlUI::find_control_at(Point point) {
    if (!visible_ || !enabled_ || !pos_.contains(point)) {
        return nullptr;
    }
    return this;
}

void CControlUI::for_each(const std::function<void(CControlUI&)>& visit) {
    visit(*this);
}

void CControlUI::invalidate() {
    if (manager_ != nullptr && visible_) {
        manager_->invalidate(pos_);
    }
}

void CControlUI::need_update() {
    if (manager_ != nullptr) {
        manager_->need_update();
    }
}

void CControlUI::set_manager(CPaintManagerUI* manager, CControlUI* parent) {
    manager_ = manager;
    parent_ = parent;
}

void CControlUI::send_notify(std::string_view type, uintptr_t wparam, intptr_t lparam) {
    if (manager_ != nullptr) {
        manager_->send_notify(this, type, wparam, lparam);
    }
}

}  // namespace talvoro::ui
