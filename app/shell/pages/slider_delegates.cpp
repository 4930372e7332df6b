#include "shell/pages/slider_delegates.h"

namespace talvoro::shell {

void SliderDelegates::attach(ui::CSliderUI* slider, Handler handler) {
    if (slider != nullptr && handler) {
        delegates_.push_back({slider, std::move(handler)});
    }
}

bool SliderDelegates::deliver(const ui::TNotifyUI& msg) const {
    if (msg.sender == nullptr || msg.type != "valuechanged") {
        return false;
    }
    for (const Delegate& delegate : delegates_) {
        if (delegate.slider == msg.sender) {
            return delegate.handler(*delegate.slider);
        }
    }
    return false;
}

}  // namespace talvoro::shell
