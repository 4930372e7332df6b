#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::TempFolder;

constexpr const char* kSection = "Configuration Option";

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class IniFile : public ::testing::Test {
  protected:
    int lang(int default_value = -1) {
        return ini_read_int(path_, kSection, "lang", default_value);
    }
    TempFolder folder_;
    std::string path_ = folder_.file("config.ini");
};

TEST_F(IniFile, MissingFileSectionKeyOrValueGiveTheDefault) {
    EXPECT_EQ(lang(7), 7);
    put(path_, "[Other]\nlang=2\n");
    EXPECT_EQ(lang(7), 7);
    put(path_, "[Configuration Option]\nlanguage=2\n");
    EXPECT_EQ(lang(7), 7);
    put(path_, "[Configuration Option]\nlang=\n");
    EXPECT_EQ(lang(7), 7);
    EXPECT_EQ(ini_read_string(path_, kSection, "lang", "none"), "none");
    put(path_, "lang=2\n[Configuration Option]\n");  // before any section: no key
    EXPECT_EQ(lang(7), 7);
}

TEST_F(IniFile, NumbersAreTheLeadingDigitsWithOptionalSign) {
    const std::pair<const char*, int> cases[] = {
        {"2", 2},
        {"02", 2},
        {"12abc", 12},
        {"abc", 0},
        {"-3", -3},
        {"+7", 7},
        {"0x10", 0},
        {"\"3\"", 3},
        {"  5  ", 5},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
    };
    for (const auto& [value, expected] : cases) {
        put(path_, std::string("[Configuration Option]\nlang=") + value + "\n");
        EXPECT_EQ(lang(), expected) << value;
    }
}

TEST_F(IniFile, NamesIgnoreCaseAndBlanksAndTheFileMayUseCrlfAndBom) {
    put(path_, "\xEF\xBB\xBF; settings\r\n[ configuration OPTION ]\r\n  LANG  =  3 \r\n");
    EXPECT_EQ(lang(), 3);
    // A semicolon line is a comment, not a key.
    put(path_, "[Configuration Option]\n;lang=1\n#lang=1\n");
    EXPECT_EQ(lang(), -1);
    // The first matching section and key count.
    put(path_, "[Configuration Option]\nlang=1\nlang=2\n[Configuration Option]\nlang=3\n");
    EXPECT_EQ(lang(), 1);
}

TEST_F(IniFile, ReadsAUtf16File) {
    const std::string text = "[Configuration Option]\r\nlang=2\r\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : text) {
        utf16 += c;
        utf16 += '\0';
    }
    put(path_, utf16);
    EXPECT_EQ(lang(), 2);
    ASSERT_TRUE(ini_write_string(path_, kSection, "lang", "03"));
    EXPECT_EQ(contents(path_), "\xEF\xBB\xBF[Configuration Option]\r\nlang=03\r\n");
}

TEST_F(IniFile, WritingCreatesTheFile) {
    ASSERT_TRUE(ini_write_string(path_, kSection, "lang", "00"));
    EXPECT_EQ(contents(path_), "[Configuration Option]\nlang=00\n");
    EXPECT_EQ(lang(), 0);
}

TEST_F(IniFile, WritingChangesOnlyTheValueAndKeepsEverythingElse) {
    put(path_,
        "; written by hand\n[Window]\nx = 10\n\n[configuration option]\n  Lang = 2\nother=a\n"
        "\n[Tail]\nk=v");
    ASSERT_TRUE(ini_write_string(path_, kSection, "lang", "02"));
    EXPECT_EQ(
        contents(path_),
        "; written by hand\n[Window]\nx = 10\n\n[configuration option]\n  Lang = 02\nother=a\n"
        "\n[Tail]\nk=v");
}

TEST_F(IniFile, WritingAppendsAMissingKeyToItsSectionAndAMissingSectionAtTheEnd) {
    put(path_, "[Configuration Option]\r\nother=1\r\n\r\n[Tail]\r\nk=v");
    ASSERT_TRUE(ini_write_string(path_, kSection, "lang", "01"));
    EXPECT_EQ(contents(path_), "[Configuration Option]\r\nother=1\r\nlang=01\r\n\r\n[Tail]\r\nk=v");
    ASSERT_TRUE(ini_write_string(path_, "New", "key", "value"));
    EXPECT_EQ(contents(path_),
              "[Configuration Option]\r\nother=1\r\nlang=01\r\n\r\n[Tail]\r\nk=v\r\n"
              "[New]\r\nkey=value\r\n");
    // A key without '=' gets its value.
    put(path_, "[Configuration Option]\nlang\n");
    ASSERT_TRUE(ini_write_string(path_, kSection, "lang", "03"));
    EXPECT_EQ(contents(path_), "[Configuration Option]\nlang=03\n");
}

TEST_F(IniFile, RefusesTextsThatWouldBreakTheFile) {
    put(path_, "[Configuration Option]\nlang=01\n");
    EXPECT_FALSE(ini_write_string(path_, kSection, "lang", "1\n[Evil]"));
    EXPECT_FALSE(ini_write_string(path_, kSection, "la=ng", "1"));
    EXPECT_FALSE(ini_write_string(path_, "a]b", "lang", "1"));
    EXPECT_FALSE(ini_write_string(path_, kSection, " ", "1"));
    EXPECT_EQ(contents(path_), "[Configuration Option]\nlang=01\n");
}

TEST_F(IniFile, SurvivesBinaryAndOversizedFiles) {
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>((i * 37) & 0xFF);
    put(path_, binary);
    lang();  // must simply not crash
    ASSERT_TRUE(ini_write_string(path_, kSection, "lang", "02"));
    EXPECT_EQ(lang(), 2);
    EXPECT_EQ(contents(path_).substr(0, binary.size()), binary);

    // Too big to be rewritten without losing its end: left alone.
    std::string huge = "[Configuration Option]\nlang=1\n" + std::string(kMaxIniBytes, ';');
    put(path_, huge);
    EXPECT_EQ(lang(), 1);
    EXPECT_FALSE(ini_write_string(path_, kSection, "lang", "02"));
    EXPECT_EQ(contents(path_).size(), huge.size());
}

TEST_F(IniFile, DoesNotReplaceWhatItCannotRead) {
    std::filesystem::create_directory(path_);
    EXPECT_EQ(lang(4), 4);
    EXPECT_FALSE(ini_write_string(path_, kSection, "lang", "02"));
    EXPECT_TRUE(std::filesystem::is_directory(path_));
}

}  // namespace
}  // namespace talvoro
