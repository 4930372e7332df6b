// The performance page, with five sliders, report rate, power saving, smoothing and the second
// profile block.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"

namespace talvoro::shell {

class OskelPerformanceUI : public LayoutPage {
  public:
    OskelPerformanceUI() : LayoutPage(layouts::kPerformancePageLayout) {}
};

}  // namespace talvoro::shell
