// The performance page: five sliders (the three desktop pointer settings, written to all five
// profiles, and lift-off distance and angle snapping), report rate, power saving, smoothing and
// the second profile block.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/profile_block.h"

namespace talvoro::shell {

class OskelPerformanceUI : public LayoutPage {
  public:
    OskelPerformanceUI() : LayoutPage(layouts::kPerformancePageLayout) {}

    // Attaches the sliders' "valuechanged" delegates.
    void bind(PageHost& host, const MainWindowControls& controls) override;
    // The options' selection changes and the profile block; true when acted on.
    bool on_notify(ui::TNotifyUI& msg) override;
    void on_page_refresh(int slot) override;

  private:
    ProfileBlockUI block_;
};

}  // namespace talvoro::shell
