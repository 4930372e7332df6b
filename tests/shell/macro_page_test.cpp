// The macro page in the real main window: new, rename, delete, import and export, delays and
// mouse steps inserted and edited by hand, the recording start and its blink, the delay options
// and the German geometry.

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/edit.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/menu.h"
#include "shell/language/text_table.h"
#include "shell/pages/delay_entry.h"
#include "shell/pages/macro_page_notices.h"
#include "shell/pages/macro_rows.h"
#include "shell/pages/mouse_step_menu.h"
#include "shell/pages/oskel_macro_manage_ui.h"
#include "shell_fixture.h"
#include "store/button_function.h"
#include "store/macro_files.h"
#include "store/store_text.h"

namespace talvoro::test {
namespace {

using shell::MacroRecordControl;

class MacroPageTest : public ShellTest {
  protected:
    void SetUp() override {
        start_mouse();
        open_window();
        click("macromanagebtn");
        page_ = window_->macro_page();
        ASSERT_NE(page_, nullptr);
        ASSERT_NE(names(), nullptr);
        ASSERT_NE(steps(), nullptr);
    }

    ui::CListUI* names() const { return dynamic_cast<ui::CListUI*>(control("macro_name_list")); }
    ui::CListUI* steps() const { return dynamic_cast<ui::CListUI*>(control("macro_item_list")); }

    std::vector<std::string> name_texts() const {
        std::vector<std::string> texts;
        for (int row = 0; row < names()->count(); ++row) {
            const ui::CEditUI* edit = shell::find_name_edit(names()->row_at(row));
            texts.push_back(edit != nullptr ? edit->name() + "=" + edit->text() : "<no edit>");
        }
        return texts;
    }
    std::vector<std::string> step_texts() const {
        std::vector<std::string> texts;
        for (int row = 0; row < steps()->count(); ++row) {
            const ui::CControlUI* label = shell::find_step_label(steps()->row_at(row));
            texts.push_back(label != nullptr ? label->text() : "<no label>");
        }
        return texts;
    }
    std::vector<std::string> notice_texts() const {
        std::vector<std::string> texts;
        for (const auto& notice : notices_.shown) {
            texts.push_back(notice.text);
        }
        return texts;
    }

    void new_macros(int count) {
        for (int i = 0; i < count; ++i) {
            click("macro_new_btn");
        }
    }
    // A person's click on a name row: "itemclick", then the selection.
    void click_name_row(int row) {
        ASSERT_NE(names()->row_at(row), nullptr) << row;
        names()->row_clicked(*names()->row_at(row));
        pump();
    }
    void type_into(const char* edit, const std::string& text) {
        ASSERT_NE(control(edit), nullptr) << edit;
        control(edit)->set_text(text);
    }
    void insert_delay(const std::string& typed) {
        type_into("insert_delay_time_edit", typed);
        click("insert_delay_time_btn");
    }
    MacroStep& step(int macro, int index) { return store_->macro_store.macros[macro].steps[index]; }
    void set_step(int macro, int index, const char* kind, const char* text, const char* action) {
        copy_text(step(macro, index).kind, kind);
        copy_text(step(macro, index).text, text);
        copy_text(step(macro, index).action, action);
    }

    shell::OskelMacroManageUI* page_ = nullptr;
};

TEST_F(MacroPageTest, InsertDelayGoesAfterTheSelectedRowAndRefusesWhatIsNoPositiveNumber) {
    new_macros(1);
    click_name_row(0);
    insert_delay("1500");
    EXPECT_EQ(step_texts(), (std::vector<std::string>{"1.500 Sec Delay "}));
    EXPECT_EQ(field_text(step(0, 0).kind), "t");
    EXPECT_EQ(field_text(step(0, 0).text), "1.500");

    // Leading zeros are a number; the new row follows the selected one and becomes selected.
    insert_delay("0050");
    insert_delay("2");
    insert_delay("3");
    EXPECT_EQ(step_texts(), (std::vector<std::string>{"1.500 Sec Delay ", "0.050 Sec Delay ",
                                                      "0.002 Sec Delay ", "0.003 Sec Delay "}));
    steps()->select_item(2, false);
    insert_delay("1500");
    EXPECT_EQ(step_texts()[3], "1.500 Sec Delay ");
    EXPECT_EQ(steps()->get_cur_sel(), 3);
    EXPECT_EQ(+store_->macro_store.macros[0].step_count, 5);
    EXPECT_EQ(field_text(step(0, 3).text), "1.500");
    EXPECT_TRUE(notices_.shown.empty());

    // Each refused text leaves the list as it is, with its message.
    for (const char* typed : {"50abc", "0", "-5", "", "99999999999", " "}) {
        insert_delay(typed);
    }
    EXPECT_EQ(notice_texts(), (std::vector<std::string>{
                                  shell::kInsertDelayNotANumber, shell::kInsertDelayNotPositive,
                                  shell::kInsertDelayNotPositive, shell::kInsertDelayNotPositive,
                                  shell::kInsertDelayNotANumber, shell::kInsertDelayNotANumber}));
    EXPECT_EQ(steps()->count(), 5);
    EXPECT_EQ(notices_.shown.front().caption, kNoticeCaption);
}

TEST_F(MacroPageTest, MouseStepMenuInsertsPressesReleasesAndClicksInOrder) {
    new_macros(1);
    click_name_row(0);
    click("insert_mouse_event_btn");
    const ui::CMenuUI* menu = ui::CMenuUI::shown_menu(window_->manager());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->count(), 10);  // five entries, each with its separator

    // Left Click into the empty list: the press, then the release.
    window_->on_command(2202);
    pump();
    EXPECT_EQ(step_texts(),
              (std::vector<std::string>{"Left Click         Down ", "Left Click         Up   "}));
    EXPECT_EQ(field_text(step(0, 0).action), "down");
    EXPECT_EQ(field_text(step(0, 1).action), "up");
    EXPECT_EQ(field_text(step(0, 0).text), "Left Click        ");

    // A single step after the selected row; a click's two rows after it, in order.
    steps()->select_item(0, false);
    window_->on_command(2213);  // Browser Backward, Down
    steps()->select_item(0, false);
    window_->on_command(2209);  // Browser Forward, Up
    pump();
    EXPECT_EQ(step_texts(),
              (std::vector<std::string>{"Left Click         Down ", "Browser Forward    Up   ",
                                        "Browser Backward   Down ", "Left Click         Up   "}));
    EXPECT_EQ(+store_->macro_store.macros[0].step_count, 4);

    const auto command = shell::decode_mouse_step_command(2207);
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->action, kMouseWheelClick);
    EXPECT_EQ(command->edge, shell::MouseStepEdge::kDown);
    EXPECT_FALSE(shell::decode_mouse_step_command(2215).has_value());
    EXPECT_FALSE(shell::decode_mouse_step_command(2104).has_value());
}

TEST_F(MacroPageTest, EditDelayChangesOnlyADelayRowAndDeleteStepRemovesTheSelectedRow) {
    store_->macro_store.macro_count = 1;
    copy_text(store_->macro_store.macros[0].name, "Keys");
    set_step(0, 0, "k", "A", "down");
    set_step(0, 1, "t", "0.100", "");
    set_step(0, 2, "k", "A", "up");
    store_->macro_store.macros[0].step_count = 3;
    page_->on_macros_loaded();
    click_name_row(0);
    ASSERT_EQ(step_texts(), (std::vector<std::string>{"A", "0.100 Sec Delay ", "A"}));

    type_into("edit_delay_time_edit", "200");
    steps()->select_item(0, false);
    click("edit_delay_time_btn");
    EXPECT_EQ(field_text(step(0, 0).text), "A");
    EXPECT_EQ(field_text(step(0, 0).kind), "k");
    steps()->select_item(1, false);
    click("edit_delay_time_btn");
    EXPECT_EQ(field_text(step(0, 1).text), "0.200");
    EXPECT_EQ(step_texts()[1], "0.200 Sec Delay ");
    EXPECT_TRUE(notices_.shown.empty());

    type_into("edit_delay_time_edit", "2x");
    click("edit_delay_time_btn");
    type_into("edit_delay_time_edit", "0");
    click("edit_delay_time_btn");
    EXPECT_EQ(notice_texts(), (std::vector<std::string>{shell::kEditDelayNotANumber,
                                                        shell::kEditDelayNotPositive}));
    EXPECT_EQ(field_text(step(0, 1).text), "0.200");

    steps()->select_item(0, false);
    click("delete_mouse_event_btn");
    EXPECT_EQ(step_texts(), (std::vector<std::string>{"0.200 Sec Delay ", "A"}));
    EXPECT_EQ(+store_->macro_store.macros[0].step_count, 2);
    click("delete_mouse_event_btn");  // no selection: nothing
    EXPECT_EQ(steps()->count(), 2);
}

TEST_F(MacroPageTest, ExportAppendsTheExtensionAndAHostileImportListsWithinTheLimits) {
    new_macros(2);
    const std::string bare = folder_.path() + "/mine";
    dialogs_.answers.push_back(bare);
    click("macro_export_btn");
    ASSERT_TRUE(std::filesystem::exists(bare + ".qxm"));
    EXPECT_FALSE(std::filesystem::exists(bare));
    EXPECT_EQ(std::filesystem::file_size(bare + ".qxm"), sizeof(MacroStore));
    dialogs_.answers.push_back(folder_.path() + "/named.qxm");
    click("macro_export_btn");
    EXPECT_TRUE(std::filesystem::exists(folder_.path() + "/named.qxm"));
    EXPECT_FALSE(std::filesystem::exists(folder_.path() + "/named.qxm.qxm"));
    click("macro_export_btn");  // cancelled: nothing
    EXPECT_TRUE(notices_.shown.empty());

    // Counts far out of range and texts without their end.
    auto hostile = std::make_unique<MacroStore>();
    std::memset(hostile.get(), 'Z', sizeof(MacroStore));
    hostile->macro_count = 100000;
    for (MacroRecord& record : hostile->macros) {
        record.step_count = -7;
        copy_text(record.steps[0].kind, "t");
    }
    hostile->macros[0].step_count = 1 << 30;
    const std::string hostile_path = folder_.path() + "/hostile.qxm";
    {
        std::ofstream out(hostile_path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(hostile.get()), sizeof(MacroStore));
        ASSERT_TRUE(out.good());
    }
    dialogs_.answers.push_back(hostile_path);
    click("macro_import_btn");
    EXPECT_EQ(names()->count(), kMacroLimit);
    const std::vector<std::string> listed = name_texts();
    EXPECT_EQ(listed.back().substr(0, 20), "macro_file_name_15=Z");
    for (const std::string& name : listed) {
        EXPECT_LE(name.size(), std::string("macro_file_name_15=").size() + 255) << name;
    }
    EXPECT_LE(steps()->count(), kMacroSteps);
    EXPECT_GT(steps()->count(), 0);
    EXPECT_LE(+store_->macro_store.macro_count, kMacroLimit);
    EXPECT_EQ(std::filesystem::file_size(macro_store_path()), sizeof(MacroStore));

    // A negative count lists nothing; a missing file changes nothing.
    hostile->macro_count = -3;
    {
        std::ofstream out(hostile_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(hostile.get()), sizeof(MacroStore));
    }
    dialogs_.answers.push_back(hostile_path);
    click("macro_import_btn");
    EXPECT_EQ(names()->count(), 0);
    EXPECT_EQ(steps()->count(), 0);
    new_macros(1);
    dialogs_.answers.push_back(folder_.path() + "/missing.qxm");
    click("macro_import_btn");
    EXPECT_EQ(names()->count(), 1);
    EXPECT_TRUE(notices_.shown.empty());
}

TEST_F(MacroPageTest, RenameAppendsAsterisksWhileTheNameIsTaken) {
    new_macros(3);
    click_name_row(0);
    click("macro_rename_btn");
    auto* edit = dynamic_cast<ui::CEditUI*>(control("macro_file_name_1"));
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->is_readonly());
    EXPECT_EQ(window_->manager().focus(), edit);
    edit->set_text("Macro_2");
    window_->manager().send_notify(edit, "edit_return");
    pump();
    EXPECT_TRUE(edit->is_readonly());
    EXPECT_EQ(edit->text(), "Macro_2*");
    EXPECT_EQ(field_text(store_->macro_store.macros[0].name), "Macro_2*");

    // Without a selection the rename takes row 0; finishing selects the renamed row.
    auto* third = dynamic_cast<ui::CEditUI*>(control("macro_file_name_3"));
    ASSERT_NE(third, nullptr);
    third->set_readonly(false);
    third->set_text("Macro_2");
    window_->manager().send_notify(third, "edit_return");
    pump();
    EXPECT_EQ(third->text(), "Macro_2**");
    EXPECT_EQ(names()->get_cur_sel(), 2);
    EXPECT_EQ(page_->current_macro(), 2);
    EXPECT_TRUE(third->is_readonly());
}

TEST_F(MacroPageTest, TheSixteenthMacroIsRefusedWithTheLimitPopupAndItsFlag) {
    new_macros(kMacroLimit);
    ASSERT_EQ(names()->count(), kMacroLimit);
    EXPECT_EQ(name_texts().back(), "macro_file_name_15=Macro_15");
    EXPECT_TRUE(popups().empty());
    click("macro_new_btn");
    EXPECT_EQ(names()->count(), kMacroLimit);
    EXPECT_EQ(+store_->macro_store.macro_count, kMacroLimit);
    EXPECT_EQ(popups().size(), 1u);
    EXPECT_NE(window_->popup_flags() & shell::kMacroLimitShown, 0u);
    click_in_popup("msgbox_ok_btn");
    EXPECT_TRUE(popups().empty());
    EXPECT_EQ(window_->popup_flags() & shell::kMacroLimitShown, 0u);
}

TEST_F(MacroPageTest, DeleteRenumbersRowsAndButtonsAndTellsWhenTheStoreFileFails) {
    new_macros(3);
    ProfileBlock& profile = store_->profiles[0];
    profile.button_function[3] = kMacro;
    profile.button_param[3] = 3;
    profile.button_function[4] = kMacro;
    profile.button_param[4] = 2;
    click_name_row(1);
    click("macro_delete_btn");
    EXPECT_EQ(name_texts(),
              (std::vector<std::string>{"macro_file_name_1=Macro_1", "macro_file_name_2=Macro_3"}));
    EXPECT_EQ(+profile.button_param[3], 2);
    EXPECT_EQ(+profile.button_function[4], kDefaultButtons[4]);
    EXPECT_EQ(std::filesystem::file_size(macro_store_path()), sizeof(MacroStore));
    EXPECT_TRUE(notices_.shown.empty());

    // The store file cannot be written: the delete stands, and the person is told.
    std::filesystem::remove(macro_store_path());
    ASSERT_TRUE(std::filesystem::create_directory(macro_store_path()));
    click_name_row(0);
    click("macro_delete_btn");
    EXPECT_EQ(name_texts(), (std::vector<std::string>{"macro_file_name_1=Macro_3"}));
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_NE(notices_.shown[0].text.find(macro_store_path()), std::string::npos);
    click("macro_delete_btn");  // no row selected: nothing
    EXPECT_EQ(names()->count(), 1);
}

TEST_F(MacroPageTest, DelayOptionsExcludeEachOtherAndGermanMovesTheControls) {
    ui::COptionUI* ignore = option("ignore_delay_option");
    ui::COptionUI* fixed = option("insert_default_delay_option");
    ASSERT_NE(ignore, nullptr);
    ASSERT_NE(fixed, nullptr);
    ignore->selected(true);
    pump();
    fixed->selected(true);
    pump();
    EXPECT_TRUE(fixed->is_selected());
    EXPECT_FALSE(ignore->is_selected());
    ignore->selected(true);
    pump();
    EXPECT_TRUE(ignore->is_selected());
    EXPECT_FALSE(fixed->is_selected());

    new_macros(1);
    click_name_row(0);
    insert_delay("1500");
    window_->change_language(3);
    pump();
    EXPECT_EQ(control("macro_record_btn")->fixed_width(), 143);
    EXPECT_EQ(control("insert_delay_time_btn")->fixed_width(), 222);
    EXPECT_EQ(control("edit_delay_time_btn")->fixed_width(), 234);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().left, 291);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().top, 69);
    EXPECT_EQ(control("insert_delay_time_edit")->float_pos().left, 276);
    EXPECT_EQ(control("edit_delay_time_edit")->float_pos().left, 286);
    EXPECT_EQ(step_texts(), (std::vector<std::string>{"1.500 Sec einfügen   "}));
    window_->change_language(0);
    pump();
    EXPECT_EQ(control("macro_record_btn")->fixed_width(), 114);
    EXPECT_EQ(control("edit_delay_time_btn")->fixed_width(), 169);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().left, 221);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().top, 68);
    EXPECT_EQ(step_texts(), (std::vector<std::string>{"1.500 Sec Delay "}));
}

TEST_F(MacroPageTest, RecordingRefusesABadFixedDelayThenBlinksAndStops) {
    new_macros(1);
    click_name_row(0);
    option("insert_default_delay_option")->selected(true);
    pump();
    for (const char* typed : {"abc", "0", "-3", "99999999999", "50ms"}) {
        type_into("default_delay_time_edit", typed);
        click("macro_record_btn");
        EXPECT_FALSE(page_->recording()) << typed;
    }
    EXPECT_EQ(notice_texts(), (std::vector<std::string>{
                                  shell::kRecordDelayNotANumber, shell::kRecordDelayNotPositive,
                                  shell::kRecordDelayNotPositive, shell::kRecordDelayNotANumber,
                                  shell::kRecordDelayNotANumber}));

    auto* record = dynamic_cast<ui::CButtonUI*>(control("macro_record_btn"));
    ASSERT_NE(record, nullptr);
    type_into("default_delay_time_edit", "50");
    click("macro_record_btn");
    ASSERT_TRUE(page_->recording());
    EXPECT_EQ(page_->record_blink(), MacroRecordControl::Blink::kFirst);
    ui::ControlEvent tick;
    tick.type = ui::EventType::kTimer;
    tick.wparam = shell::kRecordBlinkTimer;
    page_->do_event(tick);
    page_->do_event(tick);
    EXPECT_EQ(record->normal_image(), shell::kRecordBlinkPicture);
    EXPECT_EQ(page_->record_blink(), MacroRecordControl::Blink::kFirst);

    page_->on_recorded_input({shell::RecordedInput::Kind::kKeyDown, 0x41, {}});
    EXPECT_EQ(steps()->count(), 1);

    std::filesystem::remove(macro_store_path());
    click("macro_record_stop_btn");
    EXPECT_FALSE(page_->recording());
    EXPECT_EQ(record->normal_image(), shell::kRecordPicture);
    EXPECT_EQ(page_->record_blink(), MacroRecordControl::Blink::kStopped);
    EXPECT_EQ(std::filesystem::file_size(macro_store_path()), sizeof(MacroStore));
    page_->do_event(tick);
    EXPECT_EQ(page_->record_blink(), MacroRecordControl::Blink::kIdle);

    EXPECT_EQ(shell::read_delay_entry("+0050").milliseconds, 50u);
    EXPECT_EQ(shell::read_delay_entry("2147483647").milliseconds, shell::kLongestDelayMs);
    EXPECT_EQ(shell::read_delay_entry("2147483648").fault, shell::DelayEntryFault::kNotANumber);
}

}  // namespace
}  // namespace talvoro::test
