// Every control the program looks up by name in each layout, with the kind it expects and,
// where the program relies on them, the option group and the slider range.
#pragma once

#include <string>
#include <vector>

namespace talvoro::layouts::test {

// The toolkit's element names; an option is not a button here, nor a text a label.
enum class ControlKind { kButton, kOption, kSlider, kEdit, kCombo, kList, kLabel, kText, kTabs };

inline const char* element_name(ControlKind kind) {
    switch (kind) {
        case ControlKind::kButton:
            return "Button";
        case ControlKind::kOption:
            return "Option";
        case ControlKind::kSlider:
            return "Slider";
        case ControlKind::kEdit:
            return "Edit";
        case ControlKind::kCombo:
            return "Combo";
        case ControlKind::kList:
            return "List";
        case ControlKind::kLabel:
            return "Label";
        case ControlKind::kText:
            return "Text";
        case ControlKind::kTabs:
            return "TabLayout";
    }
    return "";
}

struct ExpectedControl {
    std::string name;
    ControlKind kind;
    std::string group;  // options only; empty: the option toggles on its own
    int min = 0;        // sliders only
    int max = 0;
};

namespace detail {

inline void add(std::vector<ExpectedControl>& list, ControlKind kind,
                std::initializer_list<std::string> names, const std::string& group = {}) {
    for (const std::string& name : names) {
        list.push_back({name, kind, group});
    }
}

// "<prefix>1<suffix>" ... "<prefix><count><suffix>".
inline std::vector<std::string> numbered(const std::string& prefix, int count,
                                         const std::string& suffix = {}) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back(prefix + std::to_string(i) + suffix);
    }
    return names;
}

inline void add_all(std::vector<ExpectedControl>& list, ControlKind kind,
                    const std::vector<std::string>& names, const std::string& group = {}) {
    for (const std::string& name : names) {
        list.push_back({name, kind, group});
    }
}

inline void add_slider(std::vector<ExpectedControl>& list, const std::string& name, int min,
                       int max) {
    list.push_back({name, ControlKind::kSlider, {}, min, max});
}

}  // namespace detail

inline std::vector<ExpectedControl> main_window_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kOption, {"ledlightonoffoption"});
    detail::add(list, kButton, {"closebtn", "find_language_btn", "masterresetbtn", "quitbtn"});
    detail::add(list, kCombo, {"selectlanguagecmb"});
    detail::add(list, kOption,
                {"maincontrolbtn", "performancebtn", "macromanagebtn", "techsupportbtn"}, "kbtabs");
    detail::add(list, kTabs, {"Tabs"});
    return list;
}

inline std::vector<ExpectedControl> main_control_page_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add_all(list, kButton, detail::numbered("button_", 11, "_btn"));
    detail::add_all(list, kLabel, detail::numbered("button", 11, "_label"));
    detail::add(list, kLabel,
                {"leftclickimage_label", "rightclickimage_label", "middleclickimage_label",
                 "dpiupimage_label", "dpidownimage_label", "ieforwardimage_label",
                 "iebackwardimage_label", "rieforwardimage_label", "riebackwardimage_label",
                 "profileswitchimage_label", "rprofileswitchimage_label"});
    detail::add_all(list, kLabel, detail::numbered("atleastoneleftLabel", 11));
    for (int level = 1; level <= 4; ++level) {
        const std::string n = std::to_string(level);
        for (const std::string axis : {"x", "y"}) {
            const std::string upper = axis == "x" ? "X" : "Y";
            detail::add(list, kLabel, {"laser_level" + n + "_" + axis + "_label"});
            detail::add_slider(list, "laser_level" + n + "_" + axis + "_slider", 0, 80);
            detail::add(list, kButton,
                        {"laser_L" + n + upper + "_up_btn", "laser_L" + n + upper + "_down_btn"});
        }
    }
    detail::add(list, kButton,
                {"profileloadbtn", "profilesavebtn", "profileokbtn", "profilecancelbtn"});
    detail::add_all(list, kOption, detail::numbered("profile", 5, "option"), "group_profile");
    detail::add(list, kText, {"Profilenamelabel"});
    detail::add_all(list, kOption, detail::numbered("profile", 5, "_inuse_option"));
    return list;
}

inline std::vector<ExpectedControl> performance_page_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add_slider(list, "scroll_wheel_speed_slider", 0, 18);
    for (const char* name : {"double_click_speed_slider", "pointer_acceleration_slider",
                             "lift_off_distance_slider", "angle_snapping_slider"}) {
        detail::add_slider(list, name, 0, 20);
    }
    detail::add(list, kOption,
                {"usb_rate_125_option", "usb_rate_250_option", "usb_rate_500_option",
                 "usb_rate_1000_option"},
                "group_usb_rate");
    detail::add(list, kOption,
                {"power_save_no_option", "power_save_60s_option", "power_save_120s_option"},
                "group_power_save");
    detail::add(list, kOption, {"smoothing_off_option", "smoothing_on_option"}, "group_on_off");
    detail::add(list, kButton,
                {"kprofileloadbtn", "kprofilesavebtn", "kprofileokbtn", "kprofilecancelbtn"});
    detail::add_all(list, kOption, detail::numbered("kprofile", 5, "option"), "group_kprofile");
    detail::add(list, kText, {"kProfilenamelabel"});
    detail::add_all(list, kOption, detail::numbered("kprofile", 5, "_inuse_option"));
    return list;
}

inline std::vector<ExpectedControl> macro_page_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kList, {"macro_name_list", "macro_item_list"});
    detail::add(
        list, kButton,
        {"macro_new_btn", "macro_rename_btn", "macro_import_btn", "macro_export_btn",
         "macro_delete_btn", "macro_record_btn", "macro_record_stop_btn", "insert_delay_time_btn",
         "edit_delay_time_btn", "insert_mouse_event_btn", "delete_mouse_event_btn"});
    // Check options: each toggles on its own, the page keeps them apart.
    detail::add(list, kOption, {"ignore_delay_option", "insert_default_delay_option"});
    detail::add(list, kEdit,
                {"default_delay_time_edit", "insert_delay_time_edit", "edit_delay_time_edit"});
    return list;
}

inline std::vector<ExpectedControl> support_page_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kLabel, {"apversionlabel", "fwversionlabel"});
    detail::add(list, kButton,
                {"update_app_btn", "update_fw_btn", "websitelinkbtn", "link_website_btn",
                 "socialnetworklinkbtn", "link_socialnetwork_btn"});
    return list;
}

inline std::vector<ExpectedControl> macro_play_option_popup_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kLabel, {"macroplaybacktitlelabel", "macro_repeattimes_label"});
    detail::add(list, kCombo, {"macro_playback_combo"});
    detail::add(list, kEdit, {"macro_repeattimes_edit"});
    detail::add(list, kButton, {"macroplay_ok_btn", "macroplay_cancel_btn", "macroplay_close_btn"});
    return list;
}

inline std::vector<ExpectedControl> message_box_popup_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kLabel, {"msgbox_macroovermax_label", "msgbox_macrorepeat1_99_label"});
    detail::add(list, kButton, {"msgbox_ok_btn", "msgbox_close_btn"});
    return list;
}

inline std::vector<ExpectedControl> key_entry_popup_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kLabel,
                {"keysmessagetitlelabel", "inputmessagelabel", "singlekeyshiftlabel",
                 "singlekeyctrllabel", "singlekeyaltlabel"});
    detail::add(list, kEdit, {"keyspopup_name_edit"});
    detail::add(list, kButton, {"keyspopup_ok_btn", "keyspopup_cancel_btn"});
    return list;
}

inline std::vector<ExpectedControl> confirmation_popup_controls() {
    using enum ControlKind;
    std::vector<ExpectedControl> list;
    detail::add(list, kLabel,
                {"applynewsettinglabel", "resetallsettinglabel", "exitprogramlabel",
                 "keyboardnotdetectedlabel"});
    detail::add(list, kButton, {"popup_message_ok_btn", "popup_message_cancel_btn"});
    return list;
}

// The controls of one layout resource (180-188); empty for any other id.
inline std::vector<ExpectedControl> expected_controls(int resource_id) {
    switch (resource_id) {
        case 180:
            return main_window_controls();
        case 181:
            return main_control_page_controls();
        case 182:
            return performance_page_controls();
        case 183:
            return macro_page_controls();
        case 184:
            return support_page_controls();
        case 185:
            return macro_play_option_popup_controls();
        case 186:
            return message_box_popup_controls();
        case 187:
            return key_entry_popup_controls();
        case 188:
            return confirmation_popup_controls();
        default:
            return {};
    }
}

}  // namespace talvoro::layouts::test
