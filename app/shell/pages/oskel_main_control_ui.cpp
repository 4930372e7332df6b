#include "shell/pages/oskel_main_control_ui.h"

#include "shell/main_window_controls.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {

void OskelMainControlUI::bind(PageHost& host, const MainWindowControls& controls) {
    LayoutPage::bind(host, controls);
    buttons_.bind(*this, host, controls);
    lasers_.bind(host, controls);
    block_.bind(host, controls.main_block, controls.performance_block);
}

bool OskelMainControlUI::on_notify(ui::TNotifyUI& msg) {
    return buttons_.on_notify(msg) || lasers_.on_notify(msg) || block_.on_notify(msg);
}

void OskelMainControlUI::on_page_refresh(int slot) {
    buttons_.show_buttons(slot);
    lasers_.show(slot);
    block_.show(slot);
}

void OskelMainControlUI::on_language_changed() {
    if (host_ != nullptr) {
        buttons_.show_buttons(host_->current_profile_slot());
    }
}

void OskelMainControlUI::do_event(ui::ControlEvent& event) {
    if (event.type == ui::EventType::kTimer) {
        buttons_.on_timer(event.wparam);
        return;
    }
    LayoutPage::do_event(event);
}

}  // namespace talvoro::shell
