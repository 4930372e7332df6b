// The language index and the four-language text tables: exact texts, blanks included, and
// safe answers for indexes and rows that do not exist.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "shell/language/function_names.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/language/web_addresses.h"

namespace talvoro::shell {
namespace {

// Every row of the table.
std::vector<TextRow> all_rows() {
    std::vector<TextRow> rows;
    for (int n = 0; n <= 13; ++n) {
        rows.push_back(static_cast<TextRow>(n));
    }
    for (int n = 17; n <= 33; ++n) {
        rows.push_back(static_cast<TextRow>(n));
    }
    for (int n = 40; n <= 48; ++n) {
        rows.push_back(static_cast<TextRow>(n));
    }
    return rows;
}

class LanguageTablesTest : public ::testing::Test {
  protected:
    void TearDown() override { set_language_index(0); }
};

TEST_F(LanguageTablesTest, IndexStaysInRange) {
    EXPECT_EQ(language_index(), 0);
    set_language_index(2);
    EXPECT_EQ(language_index(), 2);
    set_language_index(4);
    EXPECT_EQ(language_index(), 0);
    set_language_index(3);
    set_language_index(-1);
    EXPECT_EQ(language_index(), 0);
}

TEST_F(LanguageTablesTest, EachLanguageHasItsSkinComboTextAndFont) {
    EXPECT_STREQ(language_info(0).skin_folder, "TalvoroSkin");
    EXPECT_STREQ(language_info(1).skin_folder, "TalvoroSkin1");
    EXPECT_STREQ(language_info(2).skin_folder, "TalvoroSkin2");
    EXPECT_STREQ(language_info(3).skin_folder, "TalvoroSkin3");
    EXPECT_STREQ(language_info(1).combo_text, " 繁體中文 ");
    EXPECT_STREQ(language_info(3).combo_text, " Deutsch ");
    EXPECT_EQ(language_info(2).default_font, 3);
    EXPECT_EQ(language_info(3).default_font, 1);
    for (int other : {4, -1, 255}) {
        EXPECT_STREQ(language_info(other).combo_text, " English ");
        EXPECT_STREQ(language_info(other).skin_folder, "TalvoroSkin");
        EXPECT_EQ(language_info(other).default_font, 1);
    }
}

TEST_F(LanguageTablesTest, TextsAreExactInEveryLanguage) {
    EXPECT_STREQ(text(TextRow::kStepUp, 0), " Up   ");
    EXPECT_STREQ(text(TextRow::kStepDown, 1), " 向下   ");
    EXPECT_STREQ(text(TextRow::kStepUp, 3), " Hoch   ");
    EXPECT_STREQ(text(TextRow::kDelaySuffix, 2), " 秒延时 ");
    EXPECT_STREQ(text(TextRow::kDelaySuffix, 3), " Sec einfügen   ");
    EXPECT_STREQ(text(TextRow::kMouseLeftButton, 0), "Left Click        ");
    EXPECT_STREQ(text(TextRow::kMouseWheelDown, 1), "向下捲動滾輪鍵  ");
    EXPECT_STREQ(text(TextRow::kMouseEventClick, 0), " Click");
    EXPECT_STREQ(text(TextRow::kKeyWord, 3), "Maustaste");
    EXPECT_STREQ(text(TextRow::kKeyPopupTitle, 1), " 單  一  鍵  設  定 ");
    EXPECT_STREQ(text(TextRow::kKeyPopupPrompt, 2), " 输入一个单一键 ");
    EXPECT_STREQ(text(TextRow::kNoProfileInUse, 0),
                 "Please select at least one of the five\n profiles to start customization.");
    EXPECT_STREQ(text(TextRow::kFirmwareVersion, 1), "目前韌體版本 ： ");
    EXPECT_STREQ(text(TextRow::kMenuMacro, 2), "  宏指派                >> ");
    EXPECT_STREQ(text(TextRow::kEventMenuWheel, 2), "  滚轮鍵                 >> ");
    EXPECT_STREQ(text(TextRow::kEventMenuBackward, 3), " Browser zurück         >>");
    EXPECT_STREQ(text(TextRow::kPlayNTimes, 0), " Play N times:");
    EXPECT_STREQ(text(TextRow::kPlayToggle, 2), " 单压恒播/单压取消 ");
    EXPECT_STREQ(text(TextRow::kDefineN, 1), " 定義N : ");
    EXPECT_STREQ(text(TextRow::kLeftButtonWarning, 1), "{u}  至少一個按鍵被設置為鼠標左鍵!  {/u} ");
}

TEST_F(LanguageTablesTest, GermanRepeatsTheEnglishWhereItHasNoTextOfItsOwn) {
    for (TextRow row : {TextRow::kNoProfileInUse, TextRow::kLeftButtonWarning}) {
        EXPECT_STREQ(text(row, 3), text(row, 0));
    }
    EXPECT_STRNE(text(TextRow::kSoftwareVersion, 3), text(TextRow::kSoftwareVersion, 0));
}

TEST_F(LanguageTablesTest, EveryRowHasATextInEveryLanguage) {
    for (TextRow row : all_rows()) {
        for (int language = 0; language < 4; ++language) {
            const char* shown = text(row, language);
            ASSERT_NE(shown, nullptr) << static_cast<int>(row) << "/" << language;
            EXPECT_GT(std::strlen(shown), 0u) << static_cast<int>(row) << "/" << language;
        }
    }
    // The failure notices and the progress captions are translated, not copied, and every
    // translation of a format takes exactly the arguments the program passes.
    const std::vector<std::pair<TextRow, std::string>> formats = {
        {TextRow::kApplyFailed, ""},    {TextRow::kReadFailed, ""},
        {TextRow::kProgressWrite, "d"}, {TextRow::kProgressSelect, "d"},
        {TextRow::kProgressRead, "d"},  {TextRow::kFileNotSaved, "ss"}};
    for (const auto& [row, arguments] : formats) {
        EXPECT_STRNE(text(row, 1), text(row, 0));
        EXPECT_STRNE(text(row, 2), text(row, 1));
        EXPECT_STRNE(text(row, 3), text(row, 0));
        for (int language = 0; language < 4; ++language) {
            const std::string shown = text(row, language);
            std::string conversions;
            for (size_t at = shown.find('%'); at != std::string::npos && at + 1 < shown.size();
                 at = shown.find('%', at + 2)) {
                conversions += shown[at + 1];
            }
            EXPECT_EQ(conversions, arguments) << static_cast<int>(row) << "/" << language;
        }
    }
}

TEST_F(LanguageTablesTest, UnknownRowsAndLanguagesAreSafe) {
    for (int n : {14, 15, 16, 34, 39, 50, -1, 1000}) {
        EXPECT_STREQ(text(static_cast<TextRow>(n), 0), "") << n;
    }
    EXPECT_STREQ(text(TextRow::kPlayOnce, 7), " Play once ");
    EXPECT_STREQ(text(TextRow::kMouseRightButton, -2), "Right Click       ");
    EXPECT_STREQ(text(TextRow::kStepDown, 9), " Down ");
}

TEST_F(LanguageTablesTest, TheCurrentLanguagePicksTheText) {
    EXPECT_STREQ(text(TextRow::kPlayOnce), " Play once ");
    set_language_index(1);
    EXPECT_STREQ(text(TextRow::kPlayOnce), " 播放一次 ");
    set_language_index(3);
    EXPECT_STREQ(text(TextRow::kPlayWhilePressed), " Abspielen, während Taste gedrückt wird ");
}

TEST_F(LanguageTablesTest, FunctionNames) {
    EXPECT_STREQ(function_name(1, 0), "Left Click");
    EXPECT_STREQ(function_name(4, 0), "Browser Forward ");
    EXPECT_STREQ(function_name(4, 3), " Browser zurück ");
    EXPECT_STREQ(function_name(13, 1), " 左鍵三擊");
    EXPECT_STREQ(function_name(14, 2), " 狙击者模式切换 ");
    EXPECT_STREQ(function_name(16, 3), " Einzelne Taste ");
    EXPECT_STREQ(function_name(18, 1), " 原廠設定 ");
    EXPECT_STREQ(function_name(8, 9), "DPI Up");
    for (int code : {0, 15, 19, -1}) {
        EXPECT_STREQ(function_name(code, 0), "") << code;
    }
    for (int code : {1, 2, 3, 5, 6, 7, 9, 10, 11, 12, 17}) {
        for (int language = 0; language < 4; ++language) {
            EXPECT_GT(std::strlen(function_name(code, language)), 0u) << code;
        }
    }
}

TEST_F(LanguageTablesTest, GermanSharesTheEnglishAddressesExceptTheMainSite) {
    for (int language = 0; language < 4; ++language) {
        EXPECT_STREQ(web_address(WebAddress::kFirmwareUpdate, language),
                     web_address(WebAddress::kAppUpdate, language));
    }
    for (WebAddress which :
         {WebAddress::kAppUpdate, WebAddress::kFirmwareUpdate, WebAddress::kSocialNetwork}) {
        EXPECT_STREQ(web_address(which, 3), web_address(which, 0));
        EXPECT_STRNE(web_address(which, 1), web_address(which, 0));
        EXPECT_STRNE(web_address(which, 2), web_address(which, 1));
    }
    EXPECT_STRNE(web_address(WebAddress::kMainSite, 3), web_address(WebAddress::kMainSite, 0));
    for (WebAddress which : {WebAddress::kAppUpdate, WebAddress::kFirmwareUpdate,
                             WebAddress::kMainSite, WebAddress::kSocialNetwork}) {
        // The link texts' two are kept with a blank on each side.
        const bool padded = which == WebAddress::kMainSite || which == WebAddress::kSocialNetwork;
        for (int language = -1; language < 5; ++language) {
            const std::string address = web_address(which, language);
            EXPECT_TRUE(address.starts_with(padded ? " https://" : "https://")) << address;
            EXPECT_EQ(address.ends_with(" ") && !address.ends_with("  "), padded) << address;
        }
    }
}

}  // namespace
}  // namespace talvoro::shell
