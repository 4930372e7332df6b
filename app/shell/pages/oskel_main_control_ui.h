// The main control page, with the eleven buttons over the mouse picture, the laser resolution
// levels and the first profile block. Its layout may name the window's own elements too, so it is
// built with the window's builder callback.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"

namespace talvoro::shell {

class OskelMainControlUI : public LayoutPage {
  public:
    explicit OskelMainControlUI(ui::IDialogBuilderCallback* callback)
        : LayoutPage(layouts::kMainControlPageLayout, callback) {}
};

}  // namespace talvoro::shell
