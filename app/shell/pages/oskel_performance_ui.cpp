#include "shell/pages/oskel_performance_ui.h"

#include <algorithm>
#include <array>

#include "shell/main_window_controls.h"
#include "shell/pages/page_host.h"

namespace talvoro::shell {
namespace {

// Angle snapping levels above the top one still show, up to this one: the slider stops at its end.
constexpr int kTopShownAngleSnapping = 15;
// The values of the options, in the order of their controls.
constexpr std::array<int32_t, 4> kReportRatesHz = {125, 250, 500, 1000};
constexpr std::array<int32_t, 3> kPowerSaveSeconds = {0, 60, 120};

template <size_t N>
int option_index(const std::array<ui::COptionUI*, N>& options, const ui::COptionUI& option) {
    for (size_t i = 0; i < N; ++i) {
        if (options[i] == &option) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Exactly the option whose value is stored shows as selected; none when no value matches.
template <size_t N>
void show_choice(const std::array<ui::COptionUI*, N>& options, const std::array<int32_t, N>& values,
                 int32_t stored) {
    for (size_t i = 0; i < N; ++i) {
        if (options[i] != nullptr) {
            options[i]->selected(values[i] == stored, false);
        }
    }
}

void set_slider(ui::CSliderUI* slider, int value) {
    if (slider != nullptr) {
        slider->set_value(value);
    }
}

}  // namespace

void OskelPerformanceUI::bind(PageHost& host, const MainWindowControls& controls) {
    LayoutPage::bind(host, controls);
    block_.bind(host, controls.performance_block, controls.main_block);
    sliders_.clear();
    for (size_t i = 0; i < controls.performance_sliders.size(); ++i) {
        const auto which = static_cast<PerformanceSlider>(i);
        sliders_.attach(controls.performance_sliders[i], [this, which](ui::CSliderUI& slider) {
            return slider_moved(which, slider);
        });
    }
}

bool OskelPerformanceUI::on_notify(ui::TNotifyUI& msg) {
    if (host_ == nullptr || msg.sender == nullptr) {
        return false;
    }
    if (msg.type == "valuechanged") {
        return sliders_.deliver(msg);
    }
    if (msg.type == "selectchanged") {
        if (const auto* option = dynamic_cast<const ui::COptionUI*>(msg.sender)) {
            if (option_selected(*option)) {
                return true;
            }
        }
    }
    return block_.on_notify(msg);
}

void OskelPerformanceUI::on_page_refresh(int slot) {
    show_settings(slot);
    block_.show(slot);
}

bool OskelPerformanceUI::slider_moved(PerformanceSlider which, ui::CSliderUI& slider) {
    // Two positions make one level: the slider snaps to the even one at or above the pointer.
    const int value = slider.value();
    const int level = value < 1 ? 0 : std::min((value + 1) / 2, kTopLevel);
    slider.set_value(2 * level);

    ProfileStore& store = host_->store();
    const int slot = host_->current_profile_slot();
    // The desktop settings are one for the whole desktop, so every profile carries the same.
    switch (which) {
        case PerformanceSlider::kWheel:
            for (ProfileBlock& profile : store.profiles) {
                profile.wheel_lines_level = level + 1;
            }
            break;
        case PerformanceSlider::kDoubleClick:
            for (ProfileBlock& profile : store.profiles) {
                profile.double_click_level = level;
            }
            break;
        case PerformanceSlider::kPointerSpeed:
            for (ProfileBlock& profile : store.profiles) {
                profile.pointer_speed_level = level;
            }
            break;
        case PerformanceSlider::kLiftOff:
            if (slot >= 0 && slot < kProfileCount) {
                store.profiles[slot].lift_off_level = level;
            }
            break;
        case PerformanceSlider::kAngleSnapping:
            if (slot >= 0 && slot < kProfileCount) {
                store.profiles[slot].angle_snapping_level = level;
            }
            break;
    }
    return true;
}

bool OskelPerformanceUI::option_selected(const ui::COptionUI& option) {
    const int rate = option_index(controls_->usb_rate_options, option);
    const int power = option_index(controls_->power_save_options, option);
    const bool smoothing_on = &option == controls_->smoothing_on_option;
    const bool smoothing_off = &option == controls_->smoothing_off_option;
    if (rate < 0 && power < 0 && !smoothing_on && !smoothing_off) {
        return false;
    }
    const int slot = host_->current_profile_slot();
    // A deselection is the other half of a selection elsewhere in the group: nothing to store.
    if (!option.is_selected() || slot < 0 || slot >= kProfileCount) {
        return true;
    }
    ProfileBlock& profile = host_->store().profiles[slot];
    if (rate >= 0) {
        profile.report_rate_hz = kReportRatesHz[static_cast<size_t>(rate)];
    } else if (power >= 0) {
        profile.power_save_seconds = kPowerSaveSeconds[static_cast<size_t>(power)];
    } else {
        profile.smoothing = smoothing_on ? 1 : 0;
    }
    return true;
}

void OskelPerformanceUI::show_settings(int slot) {
    if (host_ == nullptr || controls_ == nullptr || slot < 0 || slot >= kProfileCount) {
        return;
    }
    const ProfileBlock& profile = host_->store().profiles[slot];
    show_choice(controls_->usb_rate_options, kReportRatesHz, profile.report_rate_hz);
    show_choice(controls_->power_save_options, kPowerSaveSeconds, profile.power_save_seconds);

    const auto& sliders = controls_->performance_sliders;
    auto slider = [&sliders](PerformanceSlider which) {
        return sliders[static_cast<size_t>(which)];
    };
    // Packed fields: copied before use.
    const int32_t wheel = profile.wheel_lines_level;
    const int32_t double_click = profile.double_click_level;
    const int32_t pointer_speed = profile.pointer_speed_level;
    const int32_t lift_off = profile.lift_off_level;
    const int32_t angle_snapping = profile.angle_snapping_level;
    // A level off the scale shows the slider at its start; the slider clamps the rest.
    set_slider(slider(PerformanceSlider::kWheel),
               wheel >= 1 && wheel <= kTopLevel ? 2 * wheel - 2 : 0);
    set_slider(slider(PerformanceSlider::kDoubleClick),
               double_click <= kTopLevel ? 2 * double_click : 0);
    set_slider(slider(PerformanceSlider::kPointerSpeed),
               pointer_speed <= kTopLevel ? 2 * pointer_speed : 0);
    set_slider(slider(PerformanceSlider::kLiftOff), lift_off <= kTopLevel ? 2 * lift_off : 0);
    set_slider(slider(PerformanceSlider::kAngleSnapping),
               angle_snapping <= kTopShownAngleSnapping ? 2 * angle_snapping : 0);

    if (controls_->smoothing_on_option != nullptr) {
        controls_->smoothing_on_option->selected(profile.smoothing == 1, false);
    }
    if (controls_->smoothing_off_option != nullptr) {
        controls_->smoothing_off_option->selected(profile.smoothing != 1, false);
    }
}

}  // namespace talvoro::shell
