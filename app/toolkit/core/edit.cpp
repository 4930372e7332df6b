#include "core/edit.h"

#include <algorithm>
#include <cstdlib>

#include "core/attribute_values.h"
#include "core/key_codes.h"
#include "core/paint_manager.h"
#include "render/debug_log.h"

namespace talvoro::ui {
namespace {

bool is_continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

size_t next_boundary(std::string_view text, size_t offset) {
    if (offset >= text.size()) {
        return text.size();
    }
    ++offset;
    while (offset < text.size() && is_continuation(text[offset])) {
        ++offset;
    }
    return offset;
}

size_t prev_boundary(std::string_view text, size_t offset) {
    offset = std::min(offset, text.size());
    if (offset == 0) {
        return 0;
    }
    --offset;
    while (offset > 0 && is_continuation(text[offset])) {
        --offset;
    }
    return offset;
}

size_t count_chars(std::string_view text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !is_continuation(c); }));
}

const FontStyle& font_of(const CControlUI& control) {
    static const FontStyle kNone{{}, 0};
    return control.manager() != nullptr ? control.manager()->font(control.font()) : kNone;
}

}  // namespace

bool CEditUI::set_attribute(std::string_view name, std::string_view value) {
    auto bad = [&] {
        debug_log("Edit: malformed attribute " + std::string(name));
        return false;
    };
    if (name == "readonly" || name == "password") {
        auto flag = parse_bool(value);
        if (!flag) {
            return bad();
        }
        name == "readonly" ? set_readonly(*flag) : set_password(*flag);
        return true;
    }
    if (name == "maxchar") {
        auto number = parse_int(value);
        if (!number || *number < 0) {
            return bad();
        }
        set_max_char(*number);
        return true;
    }
    if (name == "nativebkcolor") {
        auto color = parse_color(value);
        if (!color) {
            return bad();
        }
        set_native_bk_color(*color);
        return true;
    }
    return CControlUI::set_attribute(name, value);
}

void CEditUI::set_readonly(bool readonly) {
    readonly_ = readonly;
    invalidate();
}

void CEditUI::set_max_char(int max_char) {
    max_char_ = std::max(max_char, 0);
}

void CEditUI::set_password(bool password) {
    password_ = password;
    invalidate();
}

void CEditUI::set_native_bk_color(Color color) {
    native_bk_color_ = color;
    invalidate();
}

size_t CEditUI::caret() const {
    // The program may have replaced the text under the caret.
    std::string_view t = text();
    size_t offset = std::min(caret_, t.size());
    while (offset > 0 && offset < t.size() && is_continuation(t[offset])) {
        --offset;
    }
    return offset;
}

void CEditUI::set_caret(size_t offset) {
    caret_ = offset;
    caret_ = caret();
    restart_blink();
}

bool CEditUI::insert_text(std::string_view utf8) {
    std::string accepted;
    size_t room = max_char_ > 0 ? static_cast<size_t>(max_char_) : 0;
    size_t used = count_chars(text());
    for (size_t i = 0; i < utf8.size();) {
        size_t end = next_boundary(utf8, i);
        std::string_view ch = utf8.substr(i, end - i);
        i = end;
        if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x20) {
            continue;
        }
        if (used >= room) {
            break;
        }
        accepted.append(ch);
        ++used;
    }
    if (accepted.empty()) {
        return false;
    }
    size_t at = caret();
    std::string updated = text();
    updated.insert(at, accepted);
    set_text(std::move(updated));
    set_caret(at + accepted.size());
    return true;
}

std::string CEditUI::display_text() const {
    if (!password_) {
        return text();
    }
    return std::string(count_chars(text()), '*');
}

size_t CEditUI::display_offset(size_t offset) const {
    return password_ ? count_chars(std::string_view(text()).substr(0, offset)) : offset;
}

void CEditUI::do_event(ControlEvent& event) {
    switch (event.type) {
        case EventType::kSetFocus:
            focused_ = true;
            set_caret(text().size());
            break;
        case EventType::kKillFocus:
            focused_ = false;
            caret_on_ = false;
            if (manager() != nullptr) {
                manager()->kill_timer(this, kCaretTimerId);
            }
            invalidate();
            break;
        case EventType::kTimer:
            if (event.wparam == kCaretTimerId) {
                caret_on_ = !caret_on_;
                invalidate();
            }
            break;
        case EventType::kButtonDown:
            if (focused_) {
                set_caret(offset_at(event.point.x));
            }
            break;
        case EventType::kTextInput:
            if (!readonly_ && enabled()) {
                insert_text(event.text);
            }
            break;
        case EventType::kKeyDown:
            if (enabled()) {
                on_key(event.key);
            }
            break;
        default:
            CControlUI::do_event(event);
    }
}

void CEditUI::on_key(int key) {
    std::string_view t = text();
    size_t at = caret();
    switch (key) {
        case kKeyLeft:
            set_caret(prev_boundary(t, at));
            break;
        case kKeyRight:
            set_caret(next_boundary(t, at));
            break;
        case kKeyHome:
            set_caret(0);
            break;
        case kKeyEnd:
            set_caret(t.size());
            break;
        case kKeyBack:
            if (!readonly_ && at > 0) {
                size_t from = prev_boundary(t, at);
                std::string updated = text();
                updated.erase(from, at - from);
                set_text(std::move(updated));
                set_caret(from);
            }
            break;
        case kKeyDelete:
            if (!readonly_ && at < t.size()) {
                size_t to = next_boundary(t, at);
                std::string updated = text();
                updated.erase(at, to - at);
                set_text(std::move(updated));
                set_caret(at);
            }
            break;
        case kKeyReturn:
            // A read-only edit has nothing to confirm.
            if (!readonly_) {
                send_notify("edit_return");
            }
            break;
        default:
            break;
    }
}

void CEditUI::restart_blink() {
    if (!focused_) {
        return;
    }
    caret_on_ = true;
    if (manager() != nullptr) {
        // Without a timer the caret stays lit instead of blinking.
        static_cast<void>(manager()->set_timer(this, kCaretTimerId, kCaretBlinkMs));
    }
    invalidate();
}

int CEditUI::caret_x(size_t offset) const {
    std::string shown = display_text();
    const FontStyle& spec = font_of(*this);
    Rect area = pos().deflate(text_padding());
    int full = measure_text(shown, spec).width;
    int start = area.left;
    if (text_align() & kTextRight) {
        start = area.right - full;
    } else if (text_align() & kTextCenter) {
        start = area.left + (area.width() - full) / 2;
    }
    size_t shown_offset = std::min(display_offset(offset), shown.size());
    return start + measure_text(std::string_view(shown).substr(0, shown_offset), spec).width;
}

size_t CEditUI::offset_at(int x) const {
    // The boundary nearest to the pointer.
    std::string_view t = text();
    size_t best = 0;
    int best_distance = std::abs(caret_x(0) - x);
    for (size_t at = next_boundary(t, 0); at <= t.size();) {
        int distance = std::abs(caret_x(at) - x);
        if (distance < best_distance) {
            best = at;
            best_distance = distance;
        }
        if (at == t.size()) {
            break;
        }
        at = next_boundary(t, at);
    }
    return best;
}

void CEditUI::paint_bk_color(Canvas& canvas) {
    if (focused_ && !readonly_ && !native_bk_color_.is_none()) {
        canvas.fill_rect(pos(), native_bk_color_);
        return;
    }
    CControlUI::paint_bk_color(canvas);
}

void CEditUI::paint_text(Canvas& canvas) {
    Color color = text_color();
    if (!enabled() && !disabled_text_color().is_none()) {
        color = disabled_text_color();
    }
    std::string shown = display_text();
    if (!shown.empty()) {
        draw_text(canvas, pos(), shown, font_of(*this), color,
                  kTextSingleLine | (text_align() & ~kTextMarkup), text_padding());
    }
    if (caret_visible() && !readonly_) {
        const FontStyle& spec = font_of(*this);
        Rect area = pos().deflate(text_padding());
        int height = std::min(measure_text("|", spec).height, area.height());
        int top = area.top + (area.height() - height) / 2;
        int x = caret_x(caret());
        canvas.fill_rect(Rect{x, top, x + 1, top + height}, opaque(color));
    }
}

}  // namespace talvoro::ui
