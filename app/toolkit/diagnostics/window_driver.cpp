#include "diagnostics/window_driver.h"

#include "core/control.h"
#include "diagnostics/control_shown.h"
#include "render/png_writer.h"

namespace talvoro::ui {

void click_at(CWindowWnd& window, Point at) {
    const intptr_t param = make_point_param(at.x, at.y);
    window.send_message(WindowMessage::kMouseMove, 0, param);
    window.send_message(WindowMessage::kButtonDown, 1, param);
    window.send_message(WindowMessage::kButtonUp, 1, param);
}

bool click_control(CWindowWnd& window, std::string_view name) {
    if (!window.is_created()) {
        return false;
    }
    if (window.manager().needs_layout()) {
        window.paint_now();
    }
    const CControlUI* control = window.manager().find_control(name);
    if (control == nullptr || !control_shown(*control) || control->pos().empty()) {
        return false;
    }
    const Rect& pos = control->pos();
    click_at(window, Point{pos.left + pos.width() / 2, pos.top + pos.height() / 2});
    return true;
}

void type_text(CWindowWnd& window, std::string_view utf8) {
    // The message carries a std::string that lives for the call.
    const std::string text(utf8);
    window.send_message(WindowMessage::kTextInput, 0, reinterpret_cast<intptr_t>(&text));
}

void press_key(CWindowWnd& window, int virtual_key) {
    window.send_message(WindowMessage::kKeyDown, static_cast<uintptr_t>(virtual_key));
    window.send_message(WindowMessage::kKeyUp, static_cast<uintptr_t>(virtual_key));
}

bool snapshot_png(CWindowWnd& window, const std::string& path) {
    window.paint_now();
    return write_png(window.canvas().image(), path);
}

}  // namespace talvoro::ui
