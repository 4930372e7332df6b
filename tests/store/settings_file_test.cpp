#include "store/settings_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::ScopedEnv;
using test::TempFolder;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SettingsFile : public ::testing::Test {
  protected:
    void put(const std::string& text) {
        std::ofstream(folder_.file("config.ini"), std::ios::binary) << text;
    }
    TempFolder folder_;
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", folder_.path()};
};

TEST_F(SettingsFile, FirstStartReadsEnglishAndCreatesTheFile) {
    ScopedEnv fresh("TALVORO_DATA_DIR", folder_.file("talvoro"));  // not made yet
    EXPECT_EQ(read_language(), 0);
    ASSERT_TRUE(write_language(0));
    EXPECT_EQ(contents(folder_.file("talvoro/config.ini")), "[Configuration Option]\nlang=00\n");
}

TEST_F(SettingsFile, HandWrittenValuesAreReadAndRewrittenWithTwoDigits) {
    put("[Configuration Option]\nlang=2\n");
    EXPECT_EQ(read_language(), 2);
    ASSERT_TRUE(write_language(2));
    EXPECT_EQ(contents(folder_.file("config.ini")), "[Configuration Option]\nlang=02\n");
    put("[Configuration Option]\nlang=3\n");
    EXPECT_EQ(read_language(), 3);
    // Values no language table has a column for read as English.
    for (const char* value : {"4", "-1", "259", "x"}) {
        put(std::string("[Configuration Option]\nlang=") + value + "\n");
        EXPECT_EQ(read_language(), 0) << value;
    }
}

}  // namespace
}  // namespace talvoro
