// The layouts as the program builds them: every control it looks up is there, of the kind it
// expects, in the option group and with the slider range it relies on; every control lies
// inside its window's opaque area, and the macro page's arrangement for German fits.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "control_names.h"
#include "core/container.h"
#include "core/option.h"
#include "core/slider.h"
#include "layout_building.h"
#include "layouts/layout_table.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace talvoro::layouts::test {
namespace {

using ui::CContainerUI;
using ui::CControlUI;
using ui::CPaintManagerUI;
using ui::Rect;

// The mask may cut each corner of the main window by this many pixels along both edges.
constexpr int kCornerCut = 24;

// The controls that are drawn: visible, inside visible containers (a tab layout hides all
// pages but the selected one). The root is the window itself and is left out.
void collect_shown(CControlUI& control, std::vector<CControlUI*>& shown, bool is_root = true) {
    if (!control.visible()) {
        return;
    }
    if (!is_root) {
        shown.push_back(&control);
    }
    if (auto* container = dynamic_cast<CContainerUI*>(&control)) {
        for (int i = 0; i < container->count(); ++i) {
            collect_shown(*container->item_at(i), shown, false);
        }
    }
}

std::map<std::string, std::vector<CControlUI*>> controls_by_name(CControlUI& root) {
    std::map<std::string, std::vector<CControlUI*>> names;
    root.for_each([&](CControlUI& control) {
        if (!control.name().empty()) {
            names[control.name()].push_back(&control);
        }
    });
    return names;
}

std::string describe(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Inside the window and clear of the cut corners.
bool inside_opaque_area(const Rect& r, int width, int height, int corner_cut) {
    if (r.left < 0 || r.top < 0 || r.right > width || r.bottom > height) {
        return false;
    }
    // Each corner of the control must lie on the window's side of the corner's cut line.
    return r.left + r.top >= corner_cut && (width - r.right) + r.top >= corner_cut &&
           r.left + (height - r.bottom) >= corner_cut &&
           (width - r.right) + (height - r.bottom) >= corner_cut;
}

// Kinds that would stop working under the caption band, which drags the window everywhere
// except on buttons, options and texts.
bool needs_clicks_in_band(const CControlUI& control) {
    const std::string_view kind = control.class_name();
    return kind == "Combo" || kind == "Edit" || kind == "Slider" || kind == "List";
}

// ------------------------------------------------------------------------------------------
// The table of layouts

TEST(LayoutTable, NamesOneExistingFilePerResourceId) {
    std::set<std::string_view> files;
    int expected_id = 180;
    for (const LayoutEntry& entry : layout_table()) {
        EXPECT_EQ(entry.resource_id, expected_id++);
        EXPECT_TRUE(files.insert(entry.file_name).second) << entry.file_name << " twice";
        EXPECT_EQ(layout_file_name(entry.resource_id), entry.file_name);
        EXPECT_TRUE(
            std::filesystem::is_regular_file(layout_path(resources_folder(), entry.resource_id)))
            << entry.file_name;
    }
    EXPECT_EQ(expected_id, 189);
    // Every layout file in the folder is reachable through the table.
    for (const auto& file : std::filesystem::directory_iterator(resources_folder() + "/layouts")) {
        if (file.path().extension() == ".xml") {
            EXPECT_TRUE(files.count(file.path().filename().string()))
                << file.path() << " has no resource id";
        }
    }
}

TEST(LayoutTable, GivesNothingForOtherIds) {
    EXPECT_TRUE(layout_file_name(179).empty());
    EXPECT_TRUE(layout_file_name(189).empty());
    EXPECT_TRUE(layout_path("/opt/talvoro/", 0).empty());
}

TEST(LayoutTable, JoinsTheFolderWithOrWithoutSeparator) {
    // The system's own separator, as std::filesystem joins them.
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(layout_path("/usr/share/talvoro", kMacroPageLayout),
              "/usr/share/talvoro" + separator + "layouts" + separator + "macro_page.xml");
    EXPECT_EQ(layout_path("/usr/share/talvoro/", kMacroPageLayout),
              "/usr/share/talvoro/layouts" + separator + "macro_page.xml");
}

TEST(LayoutTable, LayoutsAreCopiedBesideThePrograms) {
    for (const LayoutEntry& entry : layout_table()) {
        const std::string copy =
            ::talvoro::test::built_program("layouts/" + std::string(entry.file_name));
        ASSERT_TRUE(std::filesystem::is_regular_file(copy)) << copy;
        EXPECT_EQ(talvoro::test::file_contents(copy),
                  talvoro::test::file_contents(layout_path(resources_folder(), entry.resource_id)))
            << copy << " is out of date";
    }
}

// ------------------------------------------------------------------------------------------
// Every control the program looks up, per layout

class LayoutControls : public ::testing::TestWithParam<int> {};

TEST_P(LayoutControls, HoldsEveryLookedUpControlWithItsKindGroupAndRange) {
    const int id = GetParam();
    PageCallback callback(false);
    auto root = build_layout(id, &callback);
    ASSERT_NE(root, nullptr) << layout_file_name(id) << " does not build";
    EXPECT_TRUE(callback.unknown().empty()) << "unknown element " << *callback.unknown().begin();

    const auto names = controls_by_name(*root);
    const auto expected = expected_controls(id);
    ASSERT_FALSE(expected.empty());
    for (const ExpectedControl& want : expected) {
        const auto it = names.find(want.name);
        if (it == names.end()) {
            ADD_FAILURE() << layout_file_name(id) << ": no control \"" << want.name << "\"";
            continue;
        }
        // The program finds the first of a name; a second one would never be reached.
        EXPECT_EQ(it->second.size(), 1u) << want.name << " appears more than once";
        CControlUI& control = *it->second.front();
        EXPECT_EQ(control.class_name(), element_name(want.kind)) << want.name;
        if (auto* option = dynamic_cast<ui::COptionUI*>(&control)) {
            EXPECT_EQ(option->group(), want.group) << want.name;
        }
        if (auto* slider = dynamic_cast<ui::CSliderUI*>(&control)) {
            EXPECT_EQ(slider->min_value(), want.min) << want.name;
            EXPECT_EQ(slider->max_value(), want.max) << want.name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, LayoutControls, ::testing::Range(180, 189),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Resource" + std::to_string(info.param);
                         });

TEST(LayoutControls, OptionGroupsHoldOnlyTheirNamedMembers) {
    // An extra option in a group would clear the program's choice when clicked.
    std::map<std::string, std::set<std::string>> wanted;
    std::map<std::string, std::set<std::string>> found;
    for (int id = 180; id <= 188; ++id) {
        for (const ExpectedControl& want : expected_controls(id)) {
            if (!want.group.empty()) {
                wanted[want.group].insert(want.name);
            }
        }
        auto root = build_layout(id, nullptr);
        ASSERT_NE(root, nullptr);
        root->for_each([&](CControlUI& control) {
            if (auto* option = dynamic_cast<ui::COptionUI*>(&control);
                option && !option->group().empty()) {
                found[option->group()].insert(option->name());
            }
        });
    }
    EXPECT_EQ(found, wanted);
}

// ------------------------------------------------------------------------------------------
// Windows: size, caption band, fonts

struct WindowCase {
    int resource_id;
    const char* size;
    const char* caption;
};

void PrintTo(const WindowCase& window, std::ostream* out) {
    *out << window.resource_id;
}

class LayoutWindows : public ::testing::TestWithParam<WindowCase> {};

TEST_P(LayoutWindows, DeclareSizeCaptionAndTheFontsInTheirOrder) {
    const WindowCase& window = GetParam();
    CPaintManagerUI manager;
    PageCallback callback(false);
    auto root = build_layout(window.resource_id, &callback, &manager);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(manager.window_attribute("size").value_or(""), window.size);
    EXPECT_EQ(manager.window_attribute("caption").value_or(""), window.caption);
    // Font indices used by the program: 1 English and German, 2 and 3 Chinese, 4 small.
    const std::vector<ui::FontStyle> fonts = {{"Verdana", 14},
                                              {"Verdana", 12},
                                              {"Microsoft JhengHei", 14},
                                              {"微软雅黑", 14},
                                              {"Verdana", 11}};
    ASSERT_EQ(manager.font_count(), fonts.size());
    for (size_t i = 0; i < fonts.size(); ++i) {
        EXPECT_EQ(manager.font(static_cast<int>(i)), fonts[i]) << "font " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllWindows, LayoutWindows,
                         ::testing::Values(WindowCase{180, "1025,701", "0,0,80,40"},
                                           WindowCase{185, "658,294", "0,0,0,40"},
                                           WindowCase{186, "305,206", "0,0,0,30"},
                                           WindowCase{187, "627,296", "0,0,0,30"},
                                           WindowCase{188, "660,294", "0,0,0,30"}),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return "Resource" + std::to_string(info.param.resource_id);
                         });

// ------------------------------------------------------------------------------------------
// Geometry of the composed main window

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(window_.ok()); }

    BuiltMainWindow window_;
    CPaintManagerUI& manager_ = window_.manager();
};

TEST_F(MainWindow, FindsEveryControlOfEveryPageOnce) {
    const auto names = controls_by_name(*manager_.root());
    for (int id = kMainWindowLayout; id <= kSupportPageLayout; ++id) {
        for (const ExpectedControl& want : expected_controls(id)) {
            EXPECT_NE(manager_.find_control(want.name), nullptr) << want.name;
        }
    }
    // One name in two places would hand the program the wrong control.
    for (const auto& [name, controls] : names) {
        EXPECT_EQ(controls.size(), 1u) << name << " is used " << controls.size() << " times";
    }
}

TEST_F(MainWindow, KeepsEveryControlOfEveryPageInsideTheOpaqueArea) {
    for (int page = 0; page < 4; ++page) {
        window_.show_page(page);
        std::vector<CControlUI*> shown;
        collect_shown(*manager_.root(), shown);
        ASSERT_GT(shown.size(), 20u) << "page " << page << " shows almost nothing";
        for (const CControlUI* control : shown) {
            // The backdrop strips span the whole width; the mask cuts their corners.
            const bool backdrop = control->name().ends_with("_row_background");
            EXPECT_TRUE(backdrop ||
                        inside_opaque_area(control->pos(), kWindowWidth, kWindowHeight, kCornerCut))
                << "page " << page << ": " << control->class_name() << " \"" << control->name()
                << "\" at " << describe(control->pos());
            EXPECT_FALSE(control->pos().empty() && !control->name().empty())
                << "page " << page << ": \"" << control->name() << "\" has no area";
            if (needs_clicks_in_band(*control)) {
                const Rect band{0, 0, kWindowWidth - 80, 40};
                EXPECT_TRUE(control->pos().intersect(band).empty())
                    << control->name() << " lies under the caption band";
            }
        }
    }
}

TEST_F(MainWindow, MousePictureLabelsLieOverTheirButtonsAndShowThem) {
    window_.show_page(0);
    const CControlUI* picture = manager_.find_control("mouse_picture_label");
    ASSERT_NE(picture, nullptr);
    const CControlUI* page = manager_.find_control("maincontrol_root");
    ASSERT_NE(page, nullptr);
    const std::vector<std::pair<const char*, Rect>> kButtons = {
        {"leftclickimage_label", {455, 270, 490, 318}},
        {"rightclickimage_label", {516, 270, 552, 318}},
        {"middleclickimage_label", {494, 286, 514, 318}},
        {"dpiupimage_label", {496, 328, 510, 341}},
        {"dpidownimage_label", {496, 342, 510, 353}},
        {"ieforwardimage_label", {612, 311, 629, 339}},
        {"iebackwardimage_label", {623, 339, 636, 364}},
        {"rieforwardimage_label", {378, 311, 394, 339}},
        {"riebackwardimage_label", {371, 339, 383, 363}},
        {"profileswitchimage_label", {586, 286, 603, 307}},
        {"rprofileswitchimage_label", {402, 286, 420, 307}}};
    for (const auto& [name, source] : kButtons) {
        const CControlUI* label = manager_.find_control(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->bk_image(), "file='MCBox.bmp' source='" + describe(source) + "' ") << name;
        // Picture coordinates are page coordinates, so the lit part covers the drawn button.
        EXPECT_EQ(label->pos(), source.offset(page->pos().left, page->pos().top)) << name;
        EXPECT_EQ(label->pos().intersect(picture->pos()), label->pos())
            << name << " is off the mouse";
    }
}

// ------------------------------------------------------------------------------------------
// Popups

class PopupGeometry : public ::testing::TestWithParam<WindowCase> {};

TEST_P(PopupGeometry, KeepsEveryControlInsideThePopup) {
    const WindowCase& window = GetParam();
    CPaintManagerUI manager;
    auto root = build_layout(window.resource_id, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    manager.set_root(std::move(root));
    int width = 0, height = 0, caption = 0;
    ASSERT_EQ(std::sscanf(window.size, "%d,%d", &width, &height), 2);
    ASSERT_EQ(std::sscanf(window.caption, "0,0,0,%d", &caption), 1);
    manager.set_client_size(ui::Size{width, height});
    ui::Canvas canvas(width, height);
    manager.paint(canvas);
    // Hidden controls are shown by the program, so all of them are placed and checked.
    manager.root()->for_each([&](CControlUI& control) { control.set_visible(true); });
    manager.invalidate_all();
    manager.paint(canvas);
    std::vector<CControlUI*> shown;
    collect_shown(*manager.root(), shown);
    ASSERT_FALSE(shown.empty());
    for (const CControlUI* control : shown) {
        EXPECT_TRUE(inside_opaque_area(control->pos(), width, height, 0))
            << control->name() << " at " << describe(control->pos());
        EXPECT_FALSE(control->pos().empty()) << control->name() << " has no area";
        if (needs_clicks_in_band(*control)) {
            EXPECT_TRUE(control->pos().intersect(Rect{0, 0, width, caption}).empty())
                << control->name() << " lies under the caption band";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllPopups, PopupGeometry,
                         ::testing::Values(WindowCase{185, "658,294", "0,0,0,40"},
                                           WindowCase{186, "305,206", "0,0,0,30"},
                                           WindowCase{187, "627,296", "0,0,0,30"},
                                           WindowCase{188, "660,294", "0,0,0,30"}),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return "Resource" + std::to_string(info.param.resource_id);
                         });

// ------------------------------------------------------------------------------------------
// The macro page's arrangement per language

class MacroPageArrangement : public ::testing::TestWithParam<MacroArrangement> {};

TEST_P(MacroPageArrangement, WidenedButtonsKeepClearOfTheirEdits) {
    const MacroArrangement& arrangement = GetParam();
    CPaintManagerUI manager;
    auto root = build_layout(kMacroPageLayout, nullptr, &manager);
    ASSERT_NE(root, nullptr);
    manager.set_root(std::move(root));
    manager.set_client_size(ui::Size{kWindowWidth, 564});
    ui::Canvas canvas(kWindowWidth, 564);
    manager.paint(canvas);
    ASSERT_TRUE(arrange_macro_page(manager, arrangement));
    manager.paint(canvas);

    auto pos = [&](const char* name) { return manager.find_control(name)->pos(); };
    // The widths the program sets must take effect.
    EXPECT_EQ(pos("macro_record_btn").width(), arrangement.record_width);
    EXPECT_EQ(pos("insert_delay_time_btn").width(), arrangement.insert_width);
    EXPECT_EQ(pos("edit_delay_time_btn").width(), arrangement.edit_width);
    for (const auto& [button, edit] : std::vector<std::pair<const char*, const char*>>{
             {"insert_delay_time_btn", "insert_delay_time_edit"},
             {"edit_delay_time_btn", "edit_delay_time_edit"},
             {"macro_record_btn", "default_delay_time_edit"},
             {"insert_default_delay_option", "default_delay_time_edit"},
             {"macro_record_btn", "macro_record_stop_btn"}}) {
        EXPECT_TRUE(pos(button).intersect(pos(edit)).empty())
            << arrangement.language << ": " << button << " " << describe(pos(button)) << " covers "
            << edit << " " << describe(pos(edit));
    }
    for (const auto& [panel, members] :
         std::vector<std::pair<const char*, std::vector<const char*>>>{
             {"macro_record_panel",
              {"macro_record_btn", "macro_record_stop_btn", "ignore_delay_option",
               "insert_default_delay_option", "default_delay_time_edit"}},
             {"macro_step_panel",
              {"insert_mouse_event_btn", "delete_mouse_event_btn", "insert_delay_time_btn",
               "insert_delay_time_edit", "edit_delay_time_btn", "edit_delay_time_edit"}}}) {
        for (const char* member : members) {
            EXPECT_EQ(pos(member).intersect(pos(panel)), pos(member))
                << arrangement.language << ": " << member << " sticks out of " << panel;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothArrangements, MacroPageArrangement,
                         ::testing::Values(kNarrowArrangement, kGermanArrangement),
                         [](const ::testing::TestParamInfo<MacroArrangement>& info) {
                             return std::string(info.param.language);
                         });

}  // namespace
}  // namespace talvoro::layouts::test
