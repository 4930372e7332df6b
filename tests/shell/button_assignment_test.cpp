// The button assignment page on the real main window: the function menu and its commands, the
// left-button rule and its warning, the key and play-option popups, the fields of a refresh, the
// picture under the pointer, and the menu in the UI dump.
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "core/combo.h"
#include "core/menu.h"
#include "diagnostics/ui_dump_writer.h"
#include "diagnostics/window_driver.h"
#include "shell/language/function_names.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/pages/button_assignment.h"
#include "shell/pages/function_menu.h"
#include "shell/pages/oskel_main_control_ui.h"
#include "shell/popups/keys_message_wnd.h"
#include "shell/popups/macro_play_option_wnd.h"
#include "shell/popups/popup_state.h"
#include "shell_fixture.h"
#include "store/button_function.h"
#include "store/key_table.h"
#include "store/store_text.h"

namespace talvoro::test {
namespace {

using shell::kFunctionMenuClosed;
using ui::CMenuElementUI;
using ui::CMenuUI;

const char* const kWarning = "{u}At least one button is assigned to the left button!{/u} ";

std::string field_name(int button) {
    return "button_" + std::to_string(button + 1) + "_btn";
}
std::string warning_name(int button) {
    return "atleastoneleftLabel" + std::to_string(button + 1);
}

ui::Point center(const ui::Rect& r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// One menu entry as the UI dump lists it.
struct DumpEntry {
    int menu;
    std::string text;
    ui::Rect rect;
    int command;
    bool submenu;
};

std::vector<DumpEntry> dumped_menu_entries(const std::string& path) {
    std::ifstream in(path);
    const std::string json{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::vector<DumpEntry> entries;
    const size_t start = json.find("\"menu_entries\":[");
    if (start == std::string::npos) {
        return entries;
    }
    static const std::regex kEntry(
        R"re(\{"window":"[^"]*","menu":(\d+),"text":"([^"]*)","rect":\[(-?\d+),(-?\d+),(-?\d+),(-?\d+)\],"command":(\d+),"submenu":(true|false)\})re");
    const std::string tail = json.substr(start);
    for (std::sregex_iterator it(tail.begin(), tail.end(), kEntry), end; it != end; ++it) {
        const std::smatch& m = *it;
        entries.push_back(
            {std::stoi(m[1]), m[2],
             ui::Rect{std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5]), std::stoi(m[6])},
             std::stoi(m[7]), m[8] == "true"});
    }
    return entries;
}

class ButtonAssignmentTest : public ShellTest {
  protected:
    void SetUp() override {
        start_mouse();
        open_window();
        // The clock is shared with the window, which may still read it while the fixture goes.
        window_->set_clock([now = now_] { return *now; });
        set_macros({"Alpha", "Beta"});
    }

    void set_macros(const std::vector<std::string>& names) {
        store_->macro_store.macro_count = static_cast<int32_t>(names.size());
        for (size_t i = 0; i < names.size(); ++i) {
            copy_text(store_->macro_store.macros[i].name, names[i]);
        }
    }
    ProfileBlock& profile() { return store_->profiles[window_->current_profile_slot()]; }
    std::string field_text(int button) { return control(field_name(button).c_str())->text(); }
    ui::CControlUI* warning(int button) { return control(warning_name(button).c_str()); }
    bool warning_shown() { return window_->main_control_page()->buttons().warning_visible(); }
    CMenuUI* shown_menu() { return CMenuUI::shown_menu(window_->manager()); }

    void press_at(ui::Point p) {
        ui::click_at(*window_, p);
        pump();
    }
    void advance(int ms) {
        *now_ += std::chrono::milliseconds(ms);
        pump();
    }

    // Opens the menu of `button` and clicks the entry of `command`, opening its submenu first
    // by pointing at it, as a user would.
    void choose(int button, int command) {
        click(field_name(button).c_str());
        CMenuUI* menu = shown_menu();
        ASSERT_NE(menu, nullptr);
        CMenuElementUI* target = nullptr;
        for (int i = 0; i < menu->count() && target == nullptr; ++i) {
            auto* entry = dynamic_cast<CMenuElementUI*>(menu->item_at(i));
            if (entry->is_separator()) {
                continue;
            }
            if (!entry->has_submenu()) {
                target = entry->command() == command ? entry : nullptr;
                continue;
            }
            CMenuUI& sub = entry->submenu();
            for (int j = 0; j < sub.count() && target == nullptr; ++j) {
                auto* item = dynamic_cast<CMenuElementUI*>(sub.item_at(j));
                if (!item->is_separator() && item->command() == command) {
                    move_pointer(center(entry->pos()).x, center(entry->pos()).y);
                    ASSERT_NE(entry->open_submenu(), nullptr);
                    target = item;
                }
            }
        }
        ASSERT_NE(target, nullptr) << command;
        press_at(center(target->pos()));
        EXPECT_EQ(shown_menu(), nullptr);
        EXPECT_FALSE(window_->menu_open());
    }

    ui::CWindowWnd* popup_of_class(std::string_view name) {
        for (ui::CWindowWnd* w : ui::CWindowWnd::live_windows()) {
            if (w->window_class_name() == name) {
                return w;
            }
        }
        return nullptr;
    }
    void click_popup(std::string_view window_class, const char* control_name) {
        ui::CWindowWnd* popup = popup_of_class(window_class);
        ASSERT_NE(popup, nullptr) << window_class;
        EXPECT_TRUE(ui::click_control(*popup, control_name)) << control_name;
        pump();
    }

    std::shared_ptr<std::chrono::milliseconds> now_ =
        std::make_shared<std::chrono::milliseconds>(1'000'000);
};

TEST_F(ButtonAssignmentTest, TheLastLeftClickIsKeptWithAWarningThatEndsByTimerOrClick) {
    ASSERT_EQ(+profile().button_function[0], kLeftClick);
    ASSERT_EQ(+profile().button_function[1], kRightClick);
    const ProfileBlock before = profile();

    // Default on it keeps it on Left Click, its factory function: no warning, nothing changes.
    choose(0, 2032);
    EXPECT_FALSE(warning_shown());
    EXPECT_EQ(0, std::memcmp(&before, &profile(), sizeof(ProfileBlock)));

    // One left button: every other choice for it is refused: a key, a macro, another function.
    for (int command : {2011, 2030, 2041, 2031, 2026}) {
        choose(0, command);
        EXPECT_EQ(+profile().button_function[0], kLeftClick) << command;
        EXPECT_TRUE(warning_shown()) << command;
        EXPECT_EQ(warning(0)->text(), kWarning);
        EXPECT_EQ(warning(0)->text_color().argb(), 0x00FF0000u);
        EXPECT_EQ(warning(0)->bk_color().argb(), 0xFF000000u);
        EXPECT_EQ(popup_of_class("KeysPopupWnd"), nullptr);
        EXPECT_EQ(popup_of_class("MacroPlayOptionWnd"), nullptr);
    }
    EXPECT_EQ(0, std::memcmp(&before, &profile(), sizeof(ProfileBlock)));
    EXPECT_EQ(field_text(0), "Left Click");

    // The warning goes 4 s after it was last shown.
    advance(3999);
    EXPECT_TRUE(warning_shown());
    advance(1);
    EXPECT_FALSE(warning_shown());
    EXPECT_EQ(warning(0)->text(), "");
    EXPECT_EQ(warning(0)->text_color().argb(), 0x00FFFFFFu);
    EXPECT_TRUE(warning(0)->bk_color().is_none());

    // Or at the next click on any field, and the timer then finds nothing to do.
    choose(0, 2011);
    ASSERT_TRUE(warning_shown());
    click(field_name(5).c_str());
    EXPECT_FALSE(warning_shown());
    EXPECT_EQ(warning(0)->text(), "");
    EXPECT_EQ(window_->main_control_page()->buttons().current_button(), 5);
    press_at({2, 690});  // outside the menu: it closes
    EXPECT_FALSE(window_->menu_open());
    advance(5000);
    EXPECT_EQ(warning(0)->text(), "");

    // Left Click itself is always accepted.
    choose(0, 2010);
    EXPECT_FALSE(warning_shown());

    // Two left buttons: the first may go, then the second is the last one.
    choose(1, 2010);
    EXPECT_EQ(+profile().button_function[1], kLeftClick);
    choose(0, 2011);
    EXPECT_FALSE(warning_shown());
    EXPECT_EQ(+profile().button_function[0], kRightClick);
    EXPECT_EQ(field_text(0), "Right Click");
    choose(1, 2020);
    EXPECT_TRUE(warning_shown());
    EXPECT_EQ(+profile().button_function[1], kLeftClick);
    EXPECT_EQ(warning(1)->text(), kWarning);
    EXPECT_EQ(warning(0)->text(), "");
    advance(4000);
    EXPECT_EQ(warning(1)->text(), "");
}

TEST_F(ButtonAssignmentTest, DefaultGivesEachButtonItsFactoryFunctionAndOtherRowsTheirCode) {
    const std::vector<std::pair<int, int32_t>> defaults = {
        {3, kDpiUp}, {7, kDisable}, {8, kDisable}, {9, kProfileSelect}, {10, kDisable}};
    for (auto [button, code] : defaults) {
        choose(button, 2025);  // Triple Click
        EXPECT_EQ(+profile().button_function[button], kTripleClick);
        EXPECT_EQ(field_text(button), "Triple Click");
        profile().button_param[button] = 77;
        choose(button, 2032);
        EXPECT_EQ(+profile().button_function[button], code) << button;
        EXPECT_EQ(field_text(button), shell::function_name(code, 0));
        EXPECT_EQ(+profile().button_param[button], 77);  // a plain row leaves the parameter
    }
    // Every fixed row stores its own code, and the page profile is the only one changed.
    const ProfileBlock other = store_->profiles[(window_->current_profile_slot() + 1) % 5];
    for (const shell::FunctionRow& row : shell::kFunctionRows) {
        if (row.command == 2030 || row.command == 2032) {
            continue;
        }
        choose(2, row.command);
        EXPECT_EQ(+profile().button_function[2], row.code) << row.command;
    }
    EXPECT_EQ(0, std::memcmp(&other, &store_->profiles[(window_->current_profile_slot() + 1) % 5],
                             sizeof(ProfileBlock)));
}

// A macro longer than the mouse plays is said so as it is given to a button; apply then names a
// profile whose macros together need more room than the mouse has, instead of a general failure.
TEST_F(ButtonAssignmentTest, MacrosTheMouseCannotHoldWholeAreToldWhenGivenAndApplied) {
    for (int m = 0; m < 2; ++m) {
        MacroRecord& macro = store_->macro_store.macros[m];
        macro.step_count = 0;
        for (int i = 0; i < (m == 0 ? 10 : 130); ++i) {
            copy_text(macro.steps[i].kind, "k");
            copy_text(macro.steps[i].text, " B ");
            copy_text(macro.steps[i].action, i % 2 == 0 ? "down" : "up");
            macro.step_count = i + 1;
        }
    }
    choose(2, 2041);
    click_popup("MacroPlayOptionWnd", "macroplay_cancel_btn");
    EXPECT_TRUE(notices_.shown.empty()) << "Alpha fits";
    choose(3, 2042);
    click_popup("MacroPlayOptionWnd", "macroplay_cancel_btn");
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_NE(notices_.shown[0].text.find("Beta has more than the 128"), std::string::npos)
        << notices_.shown[0].text;

    // Three buttons on the 128 events the mouse keeps of Beta need 3 x 129 records of 178.
    choose(6, 2042);
    click_popup("MacroPlayOptionWnd", "macroplay_cancel_btn");
    choose(7, 2042);
    click_popup("MacroPlayOptionWnd", "macroplay_cancel_btn");
    notices_.shown.clear();
    const int slot = window_->current_profile_slot();
    profile().in_use = 1;
    click("profileokbtn");
    click_in_popup("popup_message_ok_btn");
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text.find("The macros of profile " + std::to_string(slot + 1)), 0u)
        << notices_.shown[0].text;
}

TEST_F(ButtonAssignmentTest, AMacroIsAssignedThenItsPlayModeComesFromThePopup) {
    profile().macro_play_mode[2] = 7;
    choose(2, 2042);
    EXPECT_EQ(+profile().button_function[2], kMacro);
    EXPECT_EQ(+profile().button_param[2], 2);
    EXPECT_EQ(field_text(2), "Beta");
    ASSERT_NE(popup_of_class("MacroPlayOptionWnd"), nullptr);
    click_popup("MacroPlayOptionWnd", "macroplay_cancel_btn");
    EXPECT_EQ(popup_of_class("MacroPlayOptionWnd"), nullptr);
    EXPECT_EQ(+profile().button_function[2], kMacro);
    EXPECT_EQ(+profile().button_param[2], 2);
    EXPECT_EQ(+profile().macro_play_mode[2], 7);

    // OK stores the mode chosen in the combo.
    const std::vector<std::pair<int, int32_t>> modes = {{2, 241}, {3, 242}, {0, 1}};
    for (auto [index, stored] : modes) {
        choose(2, 2041);
        EXPECT_EQ(field_text(2), "Alpha");
        ui::CWindowWnd* popup = popup_of_class("MacroPlayOptionWnd");
        ASSERT_NE(popup, nullptr);
        auto* combo =
            dynamic_cast<ui::CComboUI*>(popup->manager().find_control("macro_playback_combo"));
        ASSERT_NE(combo, nullptr);
        combo->select_item(index);
        click_popup("MacroPlayOptionWnd", "macroplay_ok_btn");
        EXPECT_EQ(+profile().macro_play_mode[2], stored) << index;
        EXPECT_EQ(+profile().button_param[2], 1);
    }

    // A macro position past the stored ones does nothing; with none stored the one empty entry
    // assigns nothing either.
    const ProfileBlock before = profile();
    window_->send_message(ui::WindowMessage::kCommand, 2045);
    set_macros({});
    choose(4, 2041);
    EXPECT_EQ(popup_of_class("MacroPlayOptionWnd"), nullptr);
    EXPECT_EQ(0, std::memcmp(&before, &profile(), sizeof(ProfileBlock)));

    // The last Left Click on a button whose factory function is another: Default is refused.
    choose(1, 2010);
    choose(0, 2011);
    ASSERT_EQ(+profile().button_function[1], kLeftClick);
    ASSERT_FALSE(warning_shown());
    choose(1, 2032);
    EXPECT_TRUE(warning_shown());
    EXPECT_EQ(+profile().button_function[1], kLeftClick);
}

TEST_F(ButtonAssignmentTest, ASingleKeyIsStoredByItsCodeAndShownByItsName) {
    choose(4, 2030);
    ui::CWindowWnd* popup = popup_of_class("KeysPopupWnd");
    ASSERT_NE(popup, nullptr);
    popup->send_message(ui::WindowMessage::kKeyDown, 'A');
    click_popup("KeysPopupWnd", "keyspopup_ok_btn");
    EXPECT_EQ(+profile().button_function[4], kSingleKey);
    EXPECT_EQ(+profile().button_param[4], 'A');
    // The field reads as the refresh writes it, in the interface language, from the choice on.
    EXPECT_EQ(field_text(4), "  A   Key ");
    window_->page_refresh(window_->current_profile_slot());
    EXPECT_EQ(field_text(4), "  A   Key ");
    shell::set_language_index(3);
    choose(4, 2030);
    ASSERT_NE(popup_of_class("KeysPopupWnd"), nullptr);
    popup_of_class("KeysPopupWnd")->send_message(ui::WindowMessage::kKeyDown, 'A');
    click_popup("KeysPopupWnd", "keyspopup_ok_btn");
    EXPECT_EQ(field_text(4), "  A  Maustaste ");
    shell::set_language_index(0);

    // Cancel changes nothing; OK with no key of the table stores key 0.
    choose(4, 2030);
    click_popup("KeysPopupWnd", "keyspopup_cancel_btn");
    EXPECT_EQ(+profile().button_param[4], 'A');
    choose(4, 2030);
    click_popup("KeysPopupWnd", "keyspopup_ok_btn");
    EXPECT_EQ(+profile().button_function[4], kSingleKey);
    EXPECT_EQ(+profile().button_param[4], 0);
    EXPECT_EQ(field_text(4), "Unknown Key");
}

TEST_F(ButtonAssignmentTest, TheRefreshShowsMacrosKeysAndUnknownKeys) {
    const int slot = window_->current_profile_slot();
    ProfileBlock& p = profile();
    const std::vector<std::tuple<int, int32_t, int32_t, std::string>> cases = {
        {0, kSingleKey, 0x07, "Unknown Key"},  // no key has this code
        {1, kSingleKey, 0x141, "  A   Key "},  // the low byte names the key
        {2, kMacro, 2, "Beta"},
        {3, kMacro, 40, "Alpha"},  // outside 1..15
        {4, kMacro, 9, "Alpha"},   // no such macro in use
        {5, kDpiLevelSwitch, 0, "DPI Level Switch"},
        {6, shell::kDefaultChoice, 0, "Default"},
    };
    for (auto& [button, code, param, text] : cases) {
        p.button_function[button] = code;
        p.button_param[button] = param;
    }
    p.button_function[7] = 99;  // no row: the field keeps its text
    control(field_name(7).c_str())->set_text("kept");
    window_->page_refresh(slot);
    for (auto& [button, code, param, text] : cases) {
        EXPECT_EQ(field_text(button), text) << button;
    }
    EXPECT_EQ(field_text(7), "kept");

    // With no macro stored a macro field keeps its text.
    set_macros({});
    control(field_name(2).c_str())->set_text("kept");
    window_->page_refresh(slot);
    EXPECT_EQ(field_text(2), "kept");
}

TEST_F(ButtonAssignmentTest, ThePictureLightsUnderThePointerButNotUnderTheMenuOrOnOtherTabs) {
    auto picture = [this](int button) {
        return control(shell::kButtonImageLabels[static_cast<size_t>(button)])->bk_image();
    };
    EXPECT_EQ(shell::button_picture(0, false), "file='MCBox.bmp' source='455,270,490,318' ");
    EXPECT_EQ(shell::button_picture(0, true), "file='MCBox2.bmp' source='455,270,490,318' ");
    const ui::Rect field = control("button_2_btn")->pos();
    const ui::Rect name = control("button2_label")->pos();
    move_pointer(center(field).x, center(field).y);
    EXPECT_EQ(picture(1), "file='MCBox2.bmp' source='516,270,552,318' ");
    for (int b : {0, 2, 10}) {
        EXPECT_EQ(picture(b), shell::button_picture(b, false)) << b;
    }
    move_pointer(center(name).x, center(name).y);
    EXPECT_EQ(picture(1), shell::button_picture(1, true));
    move_pointer(1000, 690);
    EXPECT_EQ(picture(1), shell::button_picture(1, false));

    // Under the open menu the picture stays as it is.
    click("button_11_btn");
    ASSERT_TRUE(window_->menu_open());
    move_pointer(center(field).x, center(field).y);
    EXPECT_EQ(picture(1), shell::button_picture(1, false));
    window_->send_message(ui::WindowMessage::kKeyDown, ui::kKeyEscape);
    pump();
    ASSERT_FALSE(window_->menu_open());
    move_pointer(center(field).x, center(field).y);
    EXPECT_EQ(picture(1), shell::button_picture(1, true));

    // Nor on another tab.
    move_pointer(1000, 690);
    click("performancebtn");
    move_pointer(center(field).x, center(field).y);
    EXPECT_EQ(picture(1), shell::button_picture(1, false));
}

TEST_F(ButtonAssignmentTest, TheMenuHasItsRowsLookAndPlaceInEveryLanguage) {
    for (int language : {0, 2}) {
        shell::set_language_index(language);
        click("button_4_btn");
        CMenuUI* menu = shown_menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(window_->menu_open());
        const ui::Rect field = control("button_4_btn")->pos();
        EXPECT_EQ(menu->pos().left, field.left);
        EXPECT_EQ(menu->pos().top, field.bottom);
        EXPECT_EQ(menu->pos().width(), 180);
        EXPECT_EQ(menu->bk_color().argb(), 0xFF202020u);
        EXPECT_EQ(menu->font(), shell::language_info(language).default_font);

        // Entry, separator, entry, separator ... in every menu of the chain.
        struct Expected {
            std::string text;
            int command;
            std::vector<int> sub;
        };
        std::vector<int> mouse{2010, 2011, 2012, 2013, 2014, 2015, 2016};
        std::vector<int> game{2020, 2021, 2022, 2023, 2024, 2025, 2026};
        const std::vector<Expected> expected = {
            {shell::text(shell::TextRow::kMenuMouseFunction), 2000, mouse},
            {shell::text(shell::TextRow::kMenuGameFunction), 2001, game},
            {shell::text(shell::TextRow::kMenuMacro), 2002, {2041, 2042}},
            {shell::function_name(kSingleKey, language), 2030, {}},
            {shell::function_name(kDisable, language), 2031, {}},
            {shell::function_name(shell::kDefaultChoice, language), 2032, {}},
        };
        ASSERT_EQ(menu->count(), 12);
        for (size_t i = 0; i < expected.size(); ++i) {
            auto* entry = dynamic_cast<CMenuElementUI*>(menu->item_at(static_cast<int>(2 * i)));
            auto* separator =
                dynamic_cast<CMenuElementUI*>(menu->item_at(static_cast<int>(2 * i + 1)));
            EXPECT_EQ(entry->text(), expected[i].text);
            EXPECT_EQ(entry->command(), expected[i].command);
            EXPECT_TRUE(separator->is_separator());
            EXPECT_EQ(entry->has_submenu(), !expected[i].sub.empty());
            if (!entry->has_submenu()) {
                continue;
            }
            CMenuUI& sub = entry->submenu();
            ASSERT_EQ(sub.count(), static_cast<int>(2 * expected[i].sub.size()));
            for (size_t j = 0; j < expected[i].sub.size(); ++j) {
                auto* item = dynamic_cast<CMenuElementUI*>(sub.item_at(static_cast<int>(2 * j)));
                EXPECT_EQ(item->command(), expected[i].sub[j]);
                EXPECT_TRUE(dynamic_cast<CMenuElementUI*>(sub.item_at(static_cast<int>(2 * j + 1)))
                                ->is_separator());
                const int c = expected[i].sub[j];
                EXPECT_EQ(item->text(),
                          c >= 2041 ? (c == 2041 ? "Alpha" : "Beta")
                                    : shell::function_name(shell::decode_function_command(c)->code,
                                                           language));
            }
        }
        window_->send_message(ui::WindowMessage::kKeyDown, ui::kKeyEscape);
        pump();
        EXPECT_FALSE(window_->menu_open());
    }
    shell::set_language_index(0);

    // The menu stays inside the window near its lower edge, and a hostile macro count is cut.
    store_->macro_store.macro_count = 1000;
    auto menu = shell::build_function_menu(*store_, 0, 1);
    CMenuUI& macros = dynamic_cast<CMenuElementUI*>(menu->item_at(4))->submenu();
    EXPECT_EQ(macros.count(), 2 * kMacroLimit);
    store_->macro_store.macro_count = -3;
    menu = shell::build_function_menu(*store_, 0, 1);
    CMenuUI& empty = dynamic_cast<CMenuElementUI*>(menu->item_at(4))->submenu();
    ASSERT_EQ(empty.count(), 2);
    EXPECT_EQ(dynamic_cast<CMenuElementUI*>(empty.item_at(0))->text(), "");
    EXPECT_EQ(dynamic_cast<CMenuElementUI*>(empty.item_at(0))->command(), 2041);
}

TEST_F(ButtonAssignmentTest, MenuEntriesAreInTheUiDumpAndClickableThere) {
    const std::string dump = folder_.path() + "/ui.json";
    const ui::UiDumpWriter dump_writer(dump);
    const ui::Point origin{window_->rect().left, window_->rect().top};
    auto to_window = [&](const ui::Rect& r) {
        return ui::Point{center(r).x - origin.x, center(r).y - origin.y};
    };
    click("button_3_btn");
    ASSERT_TRUE(window_->menu_open());
    std::vector<DumpEntry> entries = dumped_menu_entries(dump);
    ASSERT_EQ(entries.size(), 6u);
    CMenuUI* menu = shown_menu();
    const std::vector<int> commands{2000, 2001, 2002, 2030, 2031, 2032};
    for (size_t i = 0; i < entries.size(); ++i) {
        auto* entry = dynamic_cast<CMenuElementUI*>(menu->item_at(static_cast<int>(2 * i)));
        EXPECT_EQ(entries[i].menu, 0);
        EXPECT_EQ(entries[i].command, commands[i]);
        EXPECT_EQ(entries[i].text, entry->text());
        EXPECT_EQ(entries[i].submenu, i < 3);
        EXPECT_EQ(entries[i].rect, entry->pos().offset(origin.x, origin.y));
        EXPECT_EQ(entries[i].rect.width(), 180 - 4);  // inside the menu's 2 px inset
    }
    // The dump follows the submenu opened by pointing at its entry.
    const ui::Point macro_entry = to_window(entries[2].rect);
    move_pointer(macro_entry.x, macro_entry.y);
    entries = dumped_menu_entries(dump);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[6].menu, 1);
    EXPECT_EQ(entries[6].text, "Alpha");
    EXPECT_EQ(entries[7].text, "Beta");
    EXPECT_EQ(entries[7].command, 2042);
    EXPECT_FALSE(entries[7].submenu);
    // Beside its menu: to the right, or to the left where the window has no room.
    EXPECT_TRUE(entries[7].rect.left >= entries[2].rect.right ||
                entries[7].rect.right <= entries[2].rect.left);

    // A click where the dump puts "Beta" chooses it, and the closed menu leaves the dump.
    press_at(to_window(entries[7].rect));
    EXPECT_FALSE(window_->menu_open());
    EXPECT_EQ(+profile().button_function[2], kMacro);
    EXPECT_EQ(+profile().button_param[2], 2);
    click_popup("MacroPlayOptionWnd", "macroplay_close_btn");
    EXPECT_TRUE(dumped_menu_entries(dump).empty());
    std::ifstream in(dump);
    const std::string json{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(json.find("\"name\":\"button_3_btn\""), std::string::npos);
    EXPECT_NE(json.find("\"menu_entries\":[\n]"), std::string::npos);
}

// What the popups leave behind, read back as the page reads it.
TEST(PopupChoiceTest, ResultWordsBecomeTypedChoices) {
    using shell::PlayMode;
    shell::PopupResultArea area{};
    struct Mode {
        uint16_t s;
        uint16_t n;
        std::optional<int32_t> stored;
    };
    for (const Mode& m : std::vector<Mode>{{0, 1, 1},
                                           {1, 5, 5},
                                           {1, 99, 99},
                                           {2, 1, 241},
                                           {3, 1, 242},
                                           {1, 0, std::nullopt},
                                           {1, 300, std::nullopt},
                                           {4, 1, std::nullopt},
                                           {0x100, 1, std::nullopt}}) {
        area.clear();
        area.set_word(0, m.s & 0xFF);
        area.set_word(1, m.s >> 8);
        area.set_word(4, m.n & 0xFF);
        area.set_word(5, m.n >> 8);
        auto choice = shell::read_play_mode_choice(area);
        ASSERT_EQ(choice.has_value(), m.stored.has_value()) << m.s << " " << m.n;
        if (choice) {
            EXPECT_EQ(choice->store_value(), *m.stored);
            EXPECT_EQ(choice->mode, static_cast<PlayMode>(m.s));
        }
    }
    area.clear();
    area.set_word(0, 'A');
    area.set_word(1, static_cast<uint16_t>(key_by_virtual_key('A') - key_table().data()));
    shell::KeyChoice key = shell::read_key_choice(area);
    ASSERT_NE(key.key(), nullptr);
    EXPECT_STREQ(key.key()->name, " A ");
    EXPECT_EQ(key.virtual_key, 'A');
    for (uint16_t row : {uint16_t{0xFF}, static_cast<uint16_t>(key_table().size())}) {
        area.set_word(1, row);
        EXPECT_EQ(shell::read_key_choice(area).key(), nullptr) << row;
    }
}

}  // namespace
}  // namespace talvoro::test
