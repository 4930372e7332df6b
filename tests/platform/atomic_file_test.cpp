#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/atomic_file_checks.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::contents;
using test::other_entries;
using test::TempFolder;
using test::write_text;

TEST(AtomicFile, WritesNewFileAndReplacesOldOneWhole) {
    TempFolder folder;
    const std::string path = folder.file("AllProfile");
    ASSERT_TRUE(write_text(path, std::string(5000, 'a')));
    EXPECT_EQ(contents(path), std::string(5000, 'a'));
    ASSERT_TRUE(write_text(path, "short"));
    EXPECT_EQ(contents(path), "short");  // no tail of the longer old file
    ASSERT_TRUE(write_text(path, ""));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    EXPECT_TRUE(other_entries(folder, "AllProfile").empty());
}

TEST(AtomicFile, FailsWhereNoFileCanBeMadeAndLeavesNothingBehind) {
    TempFolder folder;
    EXPECT_FALSE(write_text(folder.file("missing/AllProfile"), "x"));
    ASSERT_TRUE(write_text(folder.file("plain"), "x"));
    EXPECT_FALSE(write_text(folder.file("plain/AllProfile"), "x"));  // a file, not a folder
    EXPECT_FALSE(write_text("", "x"));
    // A folder in the way of the rename: the write fails, the folder stays.
    std::filesystem::create_directory(folder.file("Macros"));
    EXPECT_FALSE(write_text(folder.file("Macros"), "x"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("Macros")));
    EXPECT_EQ(other_entries(folder, "plain").size(), 1u);  // just "Macros": no temporary
}

TEST(AtomicFile, ReadPrefixTellsMissingEmptyShortAndLongFiles) {
    TempFolder folder;
    char buffer[8] = {};
    FileReadResult result = read_file_prefix(folder.file("missing"), buffer, sizeof buffer);
    EXPECT_EQ(result.status, FileReadStatus::kCannotOpen);
    result = read_file_prefix(folder.path(), buffer, sizeof buffer);  // a folder
    EXPECT_EQ(result.status, FileReadStatus::kCannotOpen);

    ASSERT_TRUE(write_text(folder.file("empty"), ""));
    result = read_file_prefix(folder.file("empty"), buffer, sizeof buffer);
    EXPECT_EQ(result.status, FileReadStatus::kEmpty);

    ASSERT_TRUE(write_text(folder.file("short"), "abc"));
    result = read_file_prefix(folder.file("short"), buffer, sizeof buffer);
    EXPECT_EQ(result.status, FileReadStatus::kRead);
    EXPECT_EQ(result.size, 3u);

    ASSERT_TRUE(write_text(folder.file("long"), "0123456789abcdef"));
    char guarded[12];
    std::memset(guarded, '#', sizeof guarded);
    result = read_file_prefix(folder.file("long"), guarded, 8);
    EXPECT_EQ(result.status, FileReadStatus::kRead);
    EXPECT_EQ(result.size, 8u);
    EXPECT_EQ(std::string(guarded, 12), "01234567####");
}

}  // namespace
}  // namespace talvoro
