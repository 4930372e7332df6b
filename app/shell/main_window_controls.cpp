#include "shell/main_window_controls.h"

#include <string>

namespace talvoro::shell {
namespace {

class Finder {
  public:
    Finder(const ui::CPaintManagerUI& manager, std::vector<MainWindowControls::Lookup>& lookups)
        : manager_(manager), lookups_(lookups) {}

    // The control of that name when it is of kind T; null otherwise.
    template <typename T>
    void operator()(T*& slot, const std::string& name) {
        slot = dynamic_cast<T*>(manager_.find_control(name));
        lookups_.push_back({name, slot != nullptr});
    }

    // "<prefix>1<suffix>" ... into consecutive slots.
    template <typename T, size_t N>
    void numbered(std::array<T*, N>& slots, const std::string& prefix, const std::string& suffix) {
        for (size_t i = 0; i < N; ++i) {
            (*this)(slots[i], prefix + std::to_string(i + 1) + suffix);
        }
    }

    void block(ProfileBlockControls& block, const std::string& prefix, const char* name_label) {
        numbered(block.profile_options, prefix + "profile", "option");
        numbered(block.in_use_options, prefix + "profile", "_inuse_option");
        (*this)(block.name_label, name_label);
        (*this)(block.load_btn, prefix + "profileloadbtn");
        (*this)(block.save_btn, prefix + "profilesavebtn");
        (*this)(block.cancel_btn, prefix + "profilecancelbtn");
        (*this)(block.ok_btn, prefix + "profileokbtn");
    }

    void laser_axis(LaserAxisControls& axis, char letter) {
        const char lower = static_cast<char>(letter - 'A' + 'a');
        for (int i = 0; i < kCpiLevels; ++i) {
            const std::string level = std::to_string(i + 1);
            (*this)(axis.labels[i], "laser_level" + level + "_" + lower + "_label");
            (*this)(axis.sliders[i], "laser_level" + level + "_" + lower + "_slider");
        }
        for (int i = 0; i < kCpiLevels; ++i) {
            (*this)(axis.up_btns[i], "laser_L" + std::to_string(i + 1) + letter + "_up_btn");
        }
        for (int i = 0; i < kCpiLevels; ++i) {
            (*this)(axis.down_btns[i], "laser_L" + std::to_string(i + 1) + letter + "_down_btn");
        }
    }

  private:
    const ui::CPaintManagerUI& manager_;
    std::vector<MainWindowControls::Lookup>& lookups_;
};

}  // namespace

void MainWindowControls::find_all(const ui::CPaintManagerUI& manager) {
    lookups.clear();
    Finder find(manager, lookups);
    find(close_btn, "closebtn");
    find(master_reset_btn, "masterresetbtn");
    find(quit_btn, "quitbtn");
    find(led_option, "ledlightonoffoption");
    find(language_combo, "selectlanguagecmb");
    for (size_t i = 0; i < tabs.size(); ++i) {
        find(tabs[i], kTabNames[i]);
    }
    find(tab_layout, "Tabs");

    find.numbered(button_btns, "button_", "_btn");
    find.numbered(button_labels, "button", "_label");
    for (size_t i = 0; i < button_image_labels.size(); ++i) {
        find(button_image_labels[i], kButtonImageLabels[i]);
    }
    find.numbered(warning_labels, "atleastoneleftLabel", "");
    find.laser_axis(laser_x, 'X');
    find.laser_axis(laser_y, 'Y');
    find.block(main_block, "", "Profilenamelabel");

    find(usb_rate_options[0], "usb_rate_125_option");
    find(usb_rate_options[1], "usb_rate_250_option");
    find(usb_rate_options[2], "usb_rate_500_option");
    find(usb_rate_options[3], "usb_rate_1000_option");
    find(power_save_options[0], "power_save_no_option");
    find(power_save_options[1], "power_save_60s_option");
    find(power_save_options[2], "power_save_120s_option");
    find(smoothing_on_option, "smoothing_on_option");
    find(smoothing_off_option, "smoothing_off_option");
    for (size_t i = 0; i < performance_sliders.size(); ++i) {
        find(performance_sliders[i], kPerformanceSliders[i]);
    }
    find.block(performance_block, "k", "kProfilenamelabel");
}

}  // namespace talvoro::shell
