// The support page: the program's and the mouse's version, and the vendor's four links, opened
// in the desktop's browser without waiting for it.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"

namespace talvoro::shell {

class OskelSupportUI : public LayoutPage {
  public:
    OskelSupportUI() : LayoutPage(layouts::kSupportPageLayout) {}

    // Fills the version labels and the link buttons.
    void bind(PageHost& host, const MainWindowControls& controls) override;
    // Clicks on the links; true when acted on.
    bool on_notify(ui::TNotifyUI& msg) override;
    // The firmware version is read again and the texts rewritten.
    void on_page_refresh(int slot) override;
    void on_language_changed() override;
};

}  // namespace talvoro::shell
