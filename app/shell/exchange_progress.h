// The caption and bar in the bottom row that show how far a long exchange with the mouse has
// come (apply, reset all, the start-up read). The window is blocked meanwhile, so it draws this
// between the steps; without the controls in the layout nothing is shown.
#pragma once

#include "core/paint_manager.h"
#include "device/device_link_ui.h"

namespace talvoro::shell {

class ExchangeProgress {
  public:
    void find_controls(const ui::CPaintManagerUI& manager);
    // Shows `step` of profile `profile` (1..5) in the interface language.
    void show(ExchangeStep step, int profile);
    void hide();
    bool shown() const { return shown_; }

  private:
    ui::CControlUI* label_ = nullptr;
    ui::CControlUI* track_ = nullptr;
    ui::CControlUI* bar_ = nullptr;
    bool shown_ = false;
};

}  // namespace talvoro::shell
