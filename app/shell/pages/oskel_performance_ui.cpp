#include "shell/pages/oskel_performance_ui.h"

#include "shell/main_window_controls.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {

void OskelPerformanceUI::bind(PageHost& host, const MainWindowControls& controls) {
    LayoutPage::bind(host, controls);
    block_.bind(host, controls.performance_block, controls.main_block);
}

bool OskelPerformanceUI::on_notify(ui::TNotifyUI& msg) {
    return block_.on_notify(msg);
}

void OskelPerformanceUI::on_page_refresh(int slot) {
    block_.show(slot);
}

}  // namespace talvoro::shell
