#include "shell/pages/button_assignment.h"

#include "shell/main_window_controls.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {

void ButtonAssignment::bind(LayoutPage& page, PageHost& host, const MainWindowControls& controls) {
    page_ = &page;
    host_ = &host;
    controls_ = &controls;
}

bool ButtonAssignment::on_notify(ui::TNotifyUI& msg) {
    if (controls_ == nullptr || msg.type != "click") {
        return false;
    }
    for (size_t i = 0; i < controls_->button_btns.size(); ++i) {
        if (controls_->button_btns[i] != nullptr && controls_->button_btns[i] == msg.sender) {
            current_button_ = static_cast<uint8_t>(i);
            return true;
        }
    }
    return false;
}

void ButtonAssignment::on_command(int id) {
    if (id == kFunctionMenuClosed) {
        menu_open_ = false;
    }
}

void ButtonAssignment::on_timer(uintptr_t) {}

void ButtonAssignment::show_buttons(int) {}

void ButtonAssignment::on_pointer_moved(ui::Point) {}

}  // namespace talvoro::shell
