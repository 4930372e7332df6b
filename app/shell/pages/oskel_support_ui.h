// The support page, with the version labels and the vendor's links.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"

namespace talvoro::shell {

class OskelSupportUI : public LayoutPage {
  public:
    OskelSupportUI() : LayoutPage(layouts::kSupportPageLayout) {}
};

}  // namespace talvoro::shell
