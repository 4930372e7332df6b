// The main control page: the eleven buttons over the mouse picture with their function menu, the
// laser resolution levels and the first profile block. Its layout may name the window's own
// elements too, so it is built with the window's builder callback.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/button_assignment.h"
#include "shell/pages/laser_levels.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/profile_block.h"

namespace talvoro::shell {

class OskelMainControlUI : public LayoutPage {
  public:
    explicit OskelMainControlUI(ui::IDialogBuilderCallback* callback)
        : LayoutPage(layouts::kMainControlPageLayout, callback) {}

    void bind(PageHost& host, const MainWindowControls& controls) override;
    bool on_notify(ui::TNotifyUI& msg) override;
    bool handles_command(int id) const override { return ButtonAssignment::handles_command(id); }
    void on_command(int id) override { buttons_.on_command(id); }
    void on_page_refresh(int slot) override;
    void on_language_changed() override;
    void do_event(ui::ControlEvent& event) override;

    // The pointer moved over the window (window coordinates).
    void on_pointer_moved(ui::Point point) { buttons_.on_pointer_moved(point); }
    const ButtonAssignment& buttons() const { return buttons_; }

  private:
    ButtonAssignment buttons_;
    LaserLevels lasers_;
    ProfileBlockUI block_;
};

}  // namespace talvoro::shell
