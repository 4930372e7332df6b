// The caption and bar in the bottom row that show how far a long exchange with the mouse has
// come (apply, reset all, the start-up read). The window is blocked meanwhile, so it draws this
// between the steps. Both controls stay in the layout and are only filled and emptied: each step
// repaints their own area and nothing else. Without them in the layout nothing is shown.
#pragma once

#include "core/paint_manager.h"
#include "core/slider.h"
#include "device/device_events.h"

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
    ui::CSliderUI* bar_ = nullptr;
    bool shown_ = false;
};

}  // namespace talvoro::shell
