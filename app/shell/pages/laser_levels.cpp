#include "shell/pages/laser_levels.h"

#include <algorithm>
#include <string>

#include "shell/main_window_controls.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {
namespace {

// One slider position is one unit of resolution; the top position is the highest resolution.
constexpr int kSliderTop = (kHighestResolution - kLowestResolution) / kResolutionUnit;
constexpr int kResolutionStep = 2 * kResolutionUnit;  // per two slider positions

// laser_cpi holds level 1 X, level 1 Y, level 2 X, ...
size_t cpi_index(LaserAxis axis, int level) {
    return static_cast<size_t>(level * 2 + static_cast<int>(axis));
}

// The slider's position of a stored resolution; below the scale it sits at the start.
int slider_position(int resolution) {
    return resolution < kLowestResolution ? 0 : (resolution - kLowestResolution) / kResolutionUnit;
}

}  // namespace

void LaserLevels::bind(PageHost& host, const MainWindowControls& controls) {
    host_ = &host;
    controls_ = &controls;
    sliders_.clear();
    for (LaserAxis axis : {LaserAxis::kX, LaserAxis::kY}) {
        for (int level = 0; level < kCpiLevels; ++level) {
            sliders_.attach(axis_controls(axis).sliders[static_cast<size_t>(level)],
                            [this, axis, level](ui::CSliderUI& slider) {
                                return slider_moved(axis, level, slider);
                            });
        }
    }
}

bool LaserLevels::on_notify(ui::TNotifyUI& msg) {
    if (controls_ == nullptr || msg.sender == nullptr) {
        return false;
    }
    if (msg.type == "valuechanged") {
        return sliders_.deliver(msg);
    }
    if (msg.type != "click") {
        return false;
    }
    for (LaserAxis axis : {LaserAxis::kX, LaserAxis::kY}) {
        const LaserAxisControls& controls = axis_controls(axis);
        for (int level = 0; level < kCpiLevels; ++level) {
            const auto i = static_cast<size_t>(level);
            if (controls.up_btns[i] != nullptr && msg.sender == controls.up_btns[i]) {
                return step(axis, level, true);
            }
            if (controls.down_btns[i] != nullptr && msg.sender == controls.down_btns[i]) {
                return step(axis, level, false);
            }
        }
    }
    return false;
}

void LaserLevels::show(int slot) {
    if (host_ == nullptr || controls_ == nullptr || slot < 0 || slot >= kProfileCount) {
        return;
    }
    const ProfileBlock& profile = host_->store().profiles[slot];
    for (LaserAxis axis : {LaserAxis::kX, LaserAxis::kY}) {
        const LaserAxisControls& controls = axis_controls(axis);
        for (int level = 0; level < kCpiLevels; ++level) {
            const auto i = static_cast<size_t>(level);
            const int resolution = profile.laser_cpi[cpi_index(axis, level)];
            if (controls.labels[i] != nullptr) {
                controls.labels[i]->set_text(std::to_string(resolution));
            }
            if (controls.sliders[i] != nullptr) {
                controls.sliders[i]->set_value(slider_position(resolution));
            }
        }
    }
}

const LaserAxisControls& LaserLevels::axis_controls(LaserAxis axis) const {
    return axis == LaserAxis::kX ? controls_->laser_x : controls_->laser_y;
}

bool LaserLevels::slider_moved(LaserAxis axis, int level, ui::CSliderUI& slider) {
    // Without its label the level takes no change at all.
    if (axis_controls(axis).labels[static_cast<size_t>(level)] == nullptr) {
        return true;
    }
    // Two positions make one step of the resolution: the slider snaps to the even one at or
    // above the pointer.
    const int value = slider.value();
    int steps = (value + 1) / 2;
    if (value < 1) {
        steps = 0;
    } else if (value >= kSliderTop) {
        steps = kSliderTop / 2;
    }
    slider.set_value(2 * steps);
    set_resolution(axis, level, kLowestResolution + kResolutionStep * steps);
    return true;
}

bool LaserLevels::step(LaserAxis axis, int level, bool up) {
    const LaserAxisControls& controls = axis_controls(axis);
    const auto i = static_cast<size_t>(level);
    if (controls.labels[i] == nullptr || controls.sliders[i] == nullptr) {
        return true;
    }
    int value = controls.sliders[i]->value() + (up ? 2 : -2);
    value = std::min(std::max(value, 0), kSliderTop);
    controls.sliders[i]->set_value(value);
    set_resolution(axis, level, value * kResolutionUnit + kLowestResolution);
    return true;
}

void LaserLevels::set_resolution(LaserAxis axis, int level, int resolution) {
    axis_controls(axis).labels[static_cast<size_t>(level)]->set_text(std::to_string(resolution));
    const int slot = host_->current_profile_slot();
    if (slot >= 0 && slot < kProfileCount) {
        host_->store().profiles[slot].laser_cpi[cpi_index(axis, level)] = resolution;
    }
}

}  // namespace talvoro::shell
