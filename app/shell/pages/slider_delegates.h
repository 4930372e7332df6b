// The "valuechanged" delegates of a page's sliders. The toolkit sends a slider's change to the
// window like every other notification; a page attaches one handler per slider when it binds
// and hands each "valuechanged" it is routed here, so the lookup by sender happens once.
#pragma once

#include <functional>
#include <vector>

#include "core/notify.h"
#include "core/slider.h"

namespace talvoro::shell {

class SliderDelegates {
  public:
    // Receives the slider that moved; true when it acted on the change.
    using Handler = std::function<bool(ui::CSliderUI&)>;

    // A missing slider (null) attaches nothing.
    void attach(ui::CSliderUI* slider, Handler handler);
    void clear() { delegates_.clear(); }

    // A "valuechanged" from an attached slider runs its handler; false for anything else.
    bool deliver(const ui::TNotifyUI& msg) const;

  private:
    struct Delegate {
        ui::CSliderUI* slider;
        Handler handler;
    };
    std::vector<Delegate> delegates_;
};

}  // namespace talvoro::shell
