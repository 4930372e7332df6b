// The main window's answer to what the device layer reports.
#include "core/option.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/oskel_main_wnd.h"
#include "shell/popups/popup_state.h"
#include "store/store_text.h"

namespace talvoro::shell {

void COskelMainWnd::on_device_event(const DeviceEvent& event) {
    using Kind = DeviceEvent::Kind;
    switch (event.kind) {
        case Kind::kExchangeStarting:
            // The exchange blocks this thread: what the window shows now stays until it ends.
            paint_now();
            break;
        case Kind::kExchangeProgress:
            progress_.show(event.step, event.number);
            paint_now();
            break;
        case Kind::kExchangeEnded:
            progress_.hide();
            break;
        case Kind::kProfilesChanged:
            page_refresh(event.number);
            break;
        case Kind::kRefreshDone:
            refresh_done(event.ok);
            break;
        case Kind::kMouseLost:
            open_not_detected();
            break;
        case Kind::kMouseBack:
            close_notice_popups();
            break;
    }
}

void COskelMainWnd::refresh_done(bool read) {
    if (store_.macro_store.macro_count > 0) {
        macros_replaced();
    }
    if (current_profile_slot_ >= kProfileCount) {
        current_profile_slot_ = 0;
    }
    select_profile_tab(current_profile_slot_, true);
    // A fresh mouse is lit, where the window has the switch to turn it off again.
    if (controls_.led_option != nullptr) {
        controls_.led_option->selected(true, false);
        send_lighting(true);
        store_.led_on = 1;
    }
    language_layout_adjustment(language_index());
    // Told last, once the window shows what it now holds.
    if (!read) {
        show_notice(text(TextRow::kReadFailed));
    }
}

void COskelMainWnd::close_notice_popups() {
    // Closing one window may free others (a popup's own message box), so each is looked up
    // again before it is touched.
    for (ui::CWindowWnd* window : ui::CWindowWnd::live_windows()) {
        if (!ui::CWindowWnd::is_live(window)) {
            continue;
        }
        const std::string_view title = window->title().substr(0, 100);
        const std::string_view class_name = window->window_class_name().substr(0, 100);
        if (window != this && (equals_ignoring_case(title, "Notice by Application") ||
                               equals_ignoring_case(title, "Notice by App") ||
                               equals_ignoring_case(class_name, "PopupWnd"))) {
            window->close();
            popup_open = 0;
        }
    }
}

void COskelMainWnd::send_lighting(bool lit) {
    // Without the mouse there is nobody to tell it to; it gets the lighting when it is read.
    if (!link_.set_leds(lit) && !device_absent()) {
        show_notice(text(TextRow::kLightingFailed));
    }
}

}  // namespace talvoro::shell
