// The four laser resolution levels of the main control page, X and Y apart: a slider (0..80,
// snapping to even positions), a label showing the resolution (200..8200) and two step buttons
// per level and axis, all writing the page profile.
#pragma once

#include "core/notify.h"

namespace talvoro::shell {

class PageHost;
struct MainWindowControls;

class LaserLevels {
  public:
    // Attaches the sliders' "valuechanged" delegates.
    void bind(PageHost& host, const MainWindowControls& controls);
    // Clicks on the step buttons; true when acted on.
    bool on_notify(ui::TNotifyUI& msg);
    // The labels and sliders of profile `slot`.
    void show(int slot);

  private:
    PageHost* host_ = nullptr;
    const MainWindowControls* controls_ = nullptr;
};

}  // namespace talvoro::shell
