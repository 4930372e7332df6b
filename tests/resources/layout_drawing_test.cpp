// The main window with each page selected, and each popup, drawn in each language with the
// real skins and the kind of texts the program writes into them, to build/bin/layout_*.png for
// a person to look at; and the few things about the drawing that must hold in every language.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/combo.h"
#include "core/dialog_builder.h"
#include "core/list.h"
#include "core/option.h"
#include "core/slider.h"
#include "layout_building.h"
#include "layouts/layout_table.h"
#include "render/png_writer.h"
#include "support/program_run.h"

namespace talvoro::layouts::test {
namespace {

const ui::Color kBackground{0xFF, 0x0E, 0x0E, 0x11};
const ui::Color kPanel{0xFF, 0x16, 0x16, 0x1B};
const ui::Color kAccent{0xFF, 0xFF, 0x3C, 0x3C};

// Within `tolerance` on every channel: the window's background darkens toward its edges.
bool near(ui::Color a, ui::Color b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

void set_text(ui::CPaintManagerUI& manager, const std::string& name, const std::string& text) {
    if (ui::CControlUI* control = manager.find_control(name)) {
        control->set_text(text);
    }
}

// Texts of the kind the program writes at start, so that the pictures show the pages as a
// user sees them.
void write_sample_texts(ui::CPaintManagerUI& manager, int language) {
    const char* const kFunctions[] = {"Left Click",       "Right Click", "Scroll Wheel Click",
                                      "DPI Up",           "DPI Down",    "Browser Forward ",
                                      "Browser Backward", "Disable",     "Disable",
                                      "Profile Select",   "Disable"};
    for (int i = 0; i < 11; ++i) {
        set_text(manager, "button_" + std::to_string(i + 1) + "_btn", kFunctions[i]);
    }
    set_text(manager, "Profilenamelabel", "FPS shooter");
    set_text(manager, "kProfilenamelabel", "FPS shooter");
    set_text(manager, "apversionlabel", "Current SoftWare Version : V1.40");
    set_text(manager, "fwversionlabel", "Current FirmWare Version : V1.00 ");
    set_text(manager, "websitelinkbtn", " {u}https://www.talvoro.example{/u} ");
    set_text(manager, "socialnetworklinkbtn", " {u}https://social.example/talvoro{/u} ");
    if (auto* combo = dynamic_cast<ui::CComboUI*>(manager.find_control("selectlanguagecmb"))) {
        if (combo->count() == 0) {
            for (const char* item : {" English ", " 繁體中文 ", " 简体中文 ", " Deutsch "}) {
                combo->add_item(item);
            }
        }
        combo->select_item(language, false);
    }
}

// Rows of the two macro lists, built as the program builds them.
std::string name_row(int index, const std::string& name) {
    return "<ListContainerElement height=\"18\"><HorizontalLayout width=\"318\" height=\"18\" "
           "inset=\"3,5,3,5\"><Edit float=\"true\" pos=\"3,-2,0,0\" width=\"120\" height=\"18\" "
           "bkcolor=\"#00000000\" textcolor=\"#00FFFFFF\" readonly=\"true\" "
           "name=\"macro_file_name_" +
           std::to_string(index) + "\" text=\"" + name +
           "\"/><Label float=\"true\" pos=\"129,0,0,0\" width=\"190\" height=\"18\" "
           "bkcolor=\"#00000000\" textcolor=\"#00FFFFFF\" bkimage=\"file='MacroName_hot.png' "
           "source='123,0,318,18' \"/></HorizontalLayout></ListContainerElement>";
}

std::string step_row(const std::string& icon, const std::string& text) {
    return "<ListContainerElement height=\"20\"><HorizontalLayout width=\"340\" height=\"17\" "
           "inset=\"3,5,3,5\"><Label name=\"macro_type_icon\" float=\"true\" pos=\"12,4,26,18\" "
           "width=\"14\" height=\"14\" bkimage=\"" +
           icon +
           "\"/><Label name=\"macro_type_name\" float=\"true\" pos=\"76,4,0,0\" width=\"200\" "
           "height=\"14\" bkcolor=\"#00000000\" textcolor=\"#00FFFFFF\" text=\"" +
           text + "\"/></HorizontalLayout></ListContainerElement>";
}

void fill_list(ui::CPaintManagerUI& manager, const char* list_name,
               const std::vector<std::string>& rows) {
    auto* list = dynamic_cast<ui::CListUI*>(manager.find_control(list_name));
    if (list == nullptr || list->count() > 0) {
        return;
    }
    for (const std::string& row : rows) {
        ui::CDialogBuilder builder;
        if (auto control = builder.create("<Window>" + row + "</Window>", nullptr, &manager)) {
            list->add(std::move(control));
        }
    }
    list->select_item(1, false);
}

void set_slider(ui::CPaintManagerUI& manager, const std::string& name, int value) {
    if (auto* slider = dynamic_cast<ui::CSliderUI*>(manager.find_control(name))) {
        slider->set_value(value);
    }
}

// Macros, steps and slider positions of a typical profile.
void write_sample_content(ui::CPaintManagerUI& manager) {
    fill_list(manager, "macro_name_list",
              {name_row(1, "Reload"), name_row(2, "Burst fire"), name_row(3, "Build wall")});
    fill_list(manager, "macro_item_list",
              {step_row("MacroSignDown.bmp", " R  Down "),
               step_row("file='MacroSignTimer.bmp' mask='0xff000000' ", "0.050 Sec Delay "),
               step_row("MacroSignUp.bmp", " R  Up   "),
               step_row("MacroSignMouse2.bmp", "Left Click         Down ")});
    const int levels[4][2] = {{6, 6}, {14, 14}, {30, 30}, {62, 46}};
    for (int level = 0; level < 4; ++level) {
        const std::string stem = "laser_level" + std::to_string(level + 1);
        set_slider(manager, stem + "_x_slider", levels[level][0]);
        set_slider(manager, stem + "_y_slider", levels[level][1]);
        set_text(manager, stem + "_x_label", std::to_string(levels[level][0] * 100 + 200));
        set_text(manager, stem + "_y_label", std::to_string(levels[level][1] * 100 + 200));
    }
    set_slider(manager, "scroll_wheel_speed_slider", 4);
    set_slider(manager, "double_click_speed_slider", 10);
    set_slider(manager, "pointer_acceleration_slider", 12);
    set_slider(manager, "lift_off_distance_slider", 6);
    set_slider(manager, "angle_snapping_slider", 0);
    if (auto* in_use =
            dynamic_cast<ui::COptionUI*>(manager.find_control("profile1_inuse_option"))) {
        in_use->selected(true, false);
    }
    if (auto* in_use =
            dynamic_cast<ui::COptionUI*>(manager.find_control("kprofile1_inuse_option"))) {
        in_use->selected(true, false);
    }
    if (auto* led = dynamic_cast<ui::COptionUI*>(manager.find_control("ledlightonoffoption"))) {
        led->selected(true, false);
    }
}

class MainWindowDrawing : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(window_.ok()); }
    BuiltMainWindow window_;
};

TEST_F(MainWindowDrawing, DrawsEachPageInEachLanguage) {
    static const char* const kPageNames[] = {"main_control", "performance", "macro", "support"};
    for (size_t language = 0; language < std::size(kLanguages); ++language) {
        const Language& skin = kLanguages[language];
        window_.use_language(skin);
        write_sample_texts(window_.manager(), static_cast<int>(language));
        write_sample_content(window_.manager());
        std::vector<ui::Image> drawn;
        for (int page = 0; page < 4; ++page) {
            window_.show_page(page);
            const ui::Canvas& canvas = window_.canvas();
            const std::string path = ::talvoro::test::built_program(
                std::string("layout_") + kPageNames[page] + "_" + skin.tag + ".png");
            ASSERT_TRUE(ui::write_png(canvas.image(), path)) << path;
            // The title row between the product name and the switch, and the page's empty
            // right margin.
            EXPECT_TRUE(near(canvas.pixel(600, 20), kBackground, 3))
                << kPageNames[page] << " " << skin.tag;
            EXPECT_EQ(canvas.pixel(1014, 300), kPanel) << kPageNames[page] << " " << skin.tag;
            drawn.push_back(canvas.image());
        }
        // Each page draws something of its own.
        for (size_t a = 0; a < drawn.size(); ++a) {
            for (size_t b = a + 1; b < drawn.size(); ++b) {
                bool differ = false;
                for (int y = 84; y < 648 && !differ; y += 2) {
                    for (int x = 0; x < kWindowWidth && !differ; x += 2) {
                        differ = !(drawn[a].pixel(x, y) == drawn[b].pixel(x, y));
                    }
                }
                EXPECT_TRUE(differ)
                    << kPageNames[a] << " and " << kPageNames[b] << " look the same";
            }
        }
    }
}

TEST_F(MainWindowDrawing, SelectedTabIsUnderlinedInTheAccent) {
    // The underline runs along the bottom of the selected tab, just above the tab row's line.
    for (int page = 0; page < 4; ++page) {
        window_.show_page(page);
        for (int tab = 0; tab < 4; ++tab) {
            const int centre = 24 + 168 * tab + 80;
            EXPECT_EQ(window_.canvas().pixel(centre, 82) == kAccent, tab == page)
                << "page " << page << ", tab " << tab;
        }
    }
}

struct PopupCase {
    int resource_id;
    int width;
    int height;
};

class PopupDrawing : public ::testing::TestWithParam<PopupCase> {};

TEST_P(PopupDrawing, DrawsThePopupInEachLanguageInsideItsAccentBorder) {
    const PopupCase& popup = GetParam();
    for (const Language& language : kLanguages) {
        ui::CPaintManagerUI manager;
        manager.image_cache().set_base_folder(skin_folder(language));
        auto root = build_layout(popup.resource_id, nullptr, &manager);
        ASSERT_NE(root, nullptr);
        manager.set_root(std::move(root));
        manager.set_default_font(language.default_font);
        manager.set_client_size(ui::Size{popup.width, popup.height});
        ui::Canvas canvas(popup.width, popup.height);
        manager.paint(canvas);
        // The border runs round the whole popup, whatever covers its inside.
        EXPECT_EQ(canvas.pixel(popup.width / 2, 0), kAccent) << language.tag;
        EXPECT_EQ(canvas.pixel(0, popup.height / 2), kAccent) << language.tag;
        EXPECT_EQ(canvas.pixel(popup.width - 1, popup.height - 1), kAccent) << language.tag;
        EXPECT_FALSE(canvas.pixel(popup.width / 2, popup.height - 2) == kAccent) << language.tag;
        const std::string path = ::talvoro::test::built_program(
            "layout_popup_" + std::to_string(popup.resource_id) + "_" + language.tag + ".png");
        EXPECT_TRUE(ui::write_png(canvas.image(), path)) << path;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPopups, PopupDrawing,
                         ::testing::Values(PopupCase{kMacroPlayOptionPopupLayout, 658, 294},
                                           PopupCase{kMessageBoxPopupLayout, 305, 206},
                                           PopupCase{kKeyEntryPopupLayout, 627, 296},
                                           PopupCase{kConfirmationPopupLayout, 660, 294}),
                         [](const ::testing::TestParamInfo<PopupCase>& info) {
                             return "Resource" + std::to_string(info.param.resource_id);
                         });

}  // namespace
}  // namespace talvoro::layouts::test
