#include "shell/pages/oskel_support_ui.h"

namespace talvoro::shell {

void OskelSupportUI::bind(PageHost& host, const MainWindowControls& controls) {
    LayoutPage::bind(host, controls);
}

bool OskelSupportUI::on_notify(ui::TNotifyUI&) {
    return false;
}

void OskelSupportUI::on_page_refresh(int) {}

void OskelSupportUI::on_language_changed() {}

}  // namespace talvoro::shell
