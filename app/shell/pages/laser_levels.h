// The four laser resolution levels of the main control page, X and Y apart: a slider (0..80,
// snapping to even positions), a label showing the resolution (200..8200) and two step buttons
// per level and axis, all writing the page profile.
#pragma once

#include "core/notify.h"
#include "shell/pages/slider_delegates.h"

namespace talvoro::shell {

class PageHost;
struct MainWindowControls;
struct LaserAxisControls;

enum class LaserAxis { kX = 0, kY = 1 };

class LaserLevels {
  public:
    // Attaches the sliders' "valuechanged" delegates.
    void bind(PageHost& host, const MainWindowControls& controls);
    // The sliders' changes and the clicks on the step buttons; true when acted on.
    bool on_notify(ui::TNotifyUI& msg);
    // The labels and sliders of profile `slot`.
    void show(int slot);

  private:
    const LaserAxisControls& axis_controls(LaserAxis axis) const;
    bool slider_moved(LaserAxis axis, int level, ui::CSliderUI& slider);
    // `up`: two positions up, else two down.
    bool step(LaserAxis axis, int level, bool up);
    // Shows `resolution` in the level's label and stores it in the page profile.
    void set_resolution(LaserAxis axis, int level, int resolution);

    PageHost* host_ = nullptr;
    const MainWindowControls* controls_ = nullptr;
    SliderDelegates sliders_;
};

}  // namespace talvoro::shell
