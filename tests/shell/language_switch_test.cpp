// Switching the interface language from the combo: skin folder, fonts, settings file and the
// macro page's German geometry.
#include <filesystem>
#include <fstream>

#include "core/combo.h"
#include "core/paint_manager.h"
#include "platform/platform_names.h"
#include "shell/language/language.h"
#include "shell_fixture.h"
#include "store/settings_file.h"
#include "support/temp_folder.h"

namespace talvoro::test {
namespace {

class LanguageTest : public ShellTest {
  protected:
    void choose(int index) {
        auto* combo = dynamic_cast<ui::CComboUI*>(control("selectlanguagecmb"));
        ASSERT_NE(combo, nullptr);
        combo->select_item(index);
        pump();
    }
    int width_of(const char* name) { return control(name)->fixed_width(); }
};

TEST_F(LanguageTest, TheComboListsTheFourLanguagesWithTheCurrentOneSelected) {
    shell::set_language_index(2);
    open_window();
    auto* combo = dynamic_cast<ui::CComboUI*>(control("selectlanguagecmb"));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->item_at(0)->text(), " English ");
    EXPECT_EQ(combo->item_at(1)->text(), " 繁體中文 ");
    EXPECT_EQ(combo->item_at(2)->text(), " 简体中文 ");
    EXPECT_EQ(combo->item_at(3)->text(), " Deutsch ");
    EXPECT_EQ(combo->current_index(), 2);
    EXPECT_EQ(window_->manager().default_font(), 3);
    // The window stores the language it started in.
    EXPECT_EQ(read_language(), 2);
}

TEST_F(LanguageTest, ChoosingALanguageSwitchesSkinFontAndSettings) {
    open_window();
    choose(1);
    EXPECT_EQ(shell::language_index(), 1);
    EXPECT_TRUE(ui::CPaintManagerUI::resource_path().ends_with(std::string("TalvoroSkin1") +
                                                               kPathSeparator));
    EXPECT_TRUE(window_->manager().image_cache().base_folder().ends_with(
        std::string("TalvoroSkin1") + kPathSeparator));
    EXPECT_EQ(window_->manager().default_font(), 2);
    EXPECT_EQ(read_language(), 1);
    EXPECT_NE(file_contents(settings_file_path()).find("lang=01"), std::string::npos);
    EXPECT_EQ(width_of("macro_record_btn"), 114);
}

TEST_F(LanguageTest, GermanWidensTheMacroButtonsAndOthersNarrowThemAgain) {
    open_window();
    choose(3);
    EXPECT_EQ(width_of("macro_record_btn"), 143);
    EXPECT_EQ(width_of("insert_delay_time_btn"), 222);
    EXPECT_EQ(width_of("edit_delay_time_btn"), 234);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().left, 291);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().top, 69);
    EXPECT_EQ(window_->manager().default_font(), 1);

    choose(2);
    EXPECT_EQ(width_of("macro_record_btn"), 114);
    EXPECT_EQ(width_of("insert_delay_time_btn"), 169);
    EXPECT_EQ(width_of("edit_delay_time_btn"), 169);
    EXPECT_EQ(control("insert_delay_time_edit")->float_pos().left, 225);
}

TEST_F(LanguageTest, TheSameLanguageAgainRewritesNothing) {
    open_window();
    choose(3);
    std::filesystem::remove(settings_file_path());
    window_->change_language(3);
    EXPECT_FALSE(std::filesystem::exists(settings_file_path()));
    EXPECT_EQ(shell::language_index(), 3);
}

TEST_F(LanguageTest, StartingInGermanWithoutAMouseWidensTheMacroPage) {
    shell::set_language_index(3);
    open_window();
    ASSERT_TRUE(window_->device_absent());
    EXPECT_EQ(width_of("macro_record_btn"), 143);
    EXPECT_EQ(width_of("edit_delay_time_btn"), 234);
    EXPECT_EQ(control("default_delay_time_edit")->float_pos().left, 291);
}

}  // namespace
}  // namespace talvoro::test
