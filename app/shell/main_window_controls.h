// The main window's references to its controls, each found by name once when the window is set
// up. A layout without a control leaves its reference null, and every use tests for that; the
// record of every lookup lets a test prove that the layouts hold each name the program uses.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/button.h"
#include "core/combo.h"
#include "core/option.h"
#include "core/paint_manager.h"
#include "core/slider.h"
#include "store/profile_store.h"

namespace talvoro::shell {

// One profile block (the main control page has one, the performance page the other).
struct ProfileBlockControls {
    std::array<ui::COptionUI*, kProfileCount> profile_options{};
    std::array<ui::COptionUI*, kProfileCount> in_use_options{};
    ui::CControlUI* name_label = nullptr;
    ui::CButtonUI* load_btn = nullptr;
    ui::CButtonUI* save_btn = nullptr;
    ui::CButtonUI* cancel_btn = nullptr;
    ui::CButtonUI* ok_btn = nullptr;
};

// One axis of the four laser resolution levels.
struct LaserAxisControls {
    std::array<ui::CControlUI*, kCpiLevels> labels{};
    std::array<ui::CSliderUI*, kCpiLevels> sliders{};
    std::array<ui::CButtonUI*, kCpiLevels> up_btns{};
    std::array<ui::CButtonUI*, kCpiLevels> down_btns{};
};

struct MainWindowControls {
    // Title and bottom rows.
    ui::CButtonUI* close_btn = nullptr;
    ui::CButtonUI* master_reset_btn = nullptr;
    ui::CButtonUI* quit_btn = nullptr;
    ui::COptionUI* led_option = nullptr;
    ui::CComboUI* language_combo = nullptr;
    std::array<ui::COptionUI*, 4> tabs{};  // main control, performance, macro, support
    ui::CControlUI* tab_layout = nullptr;

    // Main control page.
    std::array<ui::CButtonUI*, kButtonCount> button_btns{};
    std::array<ui::CControlUI*, kButtonCount> button_labels{};
    std::array<ui::CControlUI*, kButtonCount> button_image_labels{};
    std::array<ui::CControlUI*, kButtonCount> warning_labels{};
    LaserAxisControls laser_x;
    LaserAxisControls laser_y;
    ProfileBlockControls main_block;

    // Performance page.
    std::array<ui::COptionUI*, 4> usb_rate_options{};    // 125, 250, 500, 1000 Hz
    std::array<ui::COptionUI*, 3> power_save_options{};  // never, 60 s, 120 s
    ui::COptionUI* smoothing_on_option = nullptr;
    ui::COptionUI* smoothing_off_option = nullptr;
    std::array<ui::CSliderUI*, 5> performance_sliders{};  // in the order of kPerformanceSliders
    ProfileBlockControls performance_block;

    struct Lookup {
        std::string name;
        bool found;
    };
    // Every name looked up, in order, and whether a control of the expected kind was there.
    std::vector<Lookup> lookups;

    void find_all(const ui::CPaintManagerUI& manager);
};

inline constexpr std::array<const char*, 4> kTabNames = {"maincontrolbtn", "performancebtn",
                                                         "macromanagebtn", "techsupportbtn"};
inline constexpr std::array<const char*, 5> kPerformanceSliders = {
    "scroll_wheel_speed_slider", "double_click_speed_slider", "pointer_acceleration_slider",
    "lift_off_distance_slider", "angle_snapping_slider"};
// The picture labels over the mouse, button 1 first.
inline constexpr std::array<const char*, kButtonCount> kButtonImageLabels = {
    "leftclickimage_label",     "rightclickimage_label",    "middleclickimage_label",
    "dpiupimage_label",         "dpidownimage_label",       "ieforwardimage_label",
    "iebackwardimage_label",    "rieforwardimage_label",    "riebackwardimage_label",
    "profileswitchimage_label", "rprofileswitchimage_label"};

}  // namespace talvoro::shell
