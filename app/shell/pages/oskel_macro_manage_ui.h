// The macro page, with the macro list, its steps and the recorder's buttons.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"

namespace talvoro::shell {

class OskelMacroManageUI : public LayoutPage {
  public:
    OskelMacroManageUI() : LayoutPage(layouts::kMacroPageLayout) {}
};

}  // namespace talvoro::shell
