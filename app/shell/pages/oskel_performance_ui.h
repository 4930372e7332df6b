// The performance page: five sliders (the three desktop pointer settings, written to all five
// profiles, and lift-off distance and angle snapping), report rate, power saving, smoothing and
// the second profile block.
#pragma once

#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/profile_block.h"
#include "shell/pages/slider_delegates.h"

namespace talvoro::shell {

// The page's sliders, in the order of kPerformanceSliders.
enum class PerformanceSlider { kWheel, kDoubleClick, kPointerSpeed, kLiftOff, kAngleSnapping };

class OskelPerformanceUI : public LayoutPage {
  public:
    OskelPerformanceUI() : LayoutPage(layouts::kPerformancePageLayout) {}

    // Attaches the sliders' "valuechanged" delegates.
    void bind(PageHost& host, const MainWindowControls& controls) override;
    // The sliders' changes, the options' selection changes and the profile block; true when
    // acted on.
    bool on_notify(ui::TNotifyUI& msg) override;
    void on_page_refresh(int slot) override;

  private:
    bool slider_moved(PerformanceSlider which, ui::CSliderUI& slider);
    bool option_selected(const ui::COptionUI& option);
    void show_settings(int slot);

    ProfileBlockUI block_;
    SliderDelegates sliders_;
};

}  // namespace talvoro::shell
