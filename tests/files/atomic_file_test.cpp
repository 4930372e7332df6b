#include "atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "file_reading.h"
#include "files/atomic_file_checks.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::file_contents;
using test::other_entries;
using test::TempFolder;
using test::write_text;

TEST(AtomicFile, WritesNewFileAndReplacesOldOneWhole) {
    TempFolder folder;
    const std::string path = folder.file("AllProfile");
    ASSERT_TRUE(write_text(path, std::string(5000, 'a')));
    EXPECT_EQ(file_contents(path), std::string(5000, 'a'));
    ASSERT_TRUE(write_text(path, "short"));
    EXPECT_EQ(file_contents(path), "short");  // no tail of the longer old file
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

// The person is told why a save failed from errno, so the clean-up after a failure must not
// overwrite it.
TEST(AtomicFile, AFailedWriteTellsWhyOnEverySystem) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("Macros"));
    const char bytes[] = "data";
    struct Case {
        const char* what;
        std::string path;
        const void* data;
        size_t size;
        int error;
    };
    const Case cases[] = {
        {"missing folder", folder.file("missing/AllProfile"), bytes, 4, ENOENT},
        {"folder in the way", folder.file("Macros"), bytes, 4, EISDIR},
        {"no name", "", bytes, 4, EINVAL},
        {"no bytes to a size", folder.file("config.ini"), nullptr, 4, EINVAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        errno = 0;
        EXPECT_FALSE(write_file_atomically(c.path, c.data, c.size));
        EXPECT_EQ(errno, c.error) << std::strerror(errno);
    }
    EXPECT_EQ(test::entries(folder), std::set<std::string>{"Macros"});
}

// Profiles and the mouse's state are binary: every byte value, the end-of-line and end-of-file
// ones included, arrives as it was given.
TEST(AtomicFile, EveryByteValueArrivesUnchanged) {
    TempFolder folder;
    std::string bytes;
    for (int round = 0; round < 3; ++round) {
        for (int value = 0; value < 256; ++value)
            bytes.push_back(static_cast<char>(value));
    }
    bytes += "\r\n\n\r\x1a";
    const std::string path = folder.file("profile.qxp");
    ASSERT_TRUE(write_text(path, bytes));
    EXPECT_EQ(file_contents(path), bytes);

    std::string read(bytes.size() + 1, '\0');
    const FileReadResult result = read_file_prefix(path, read.data(), read.size());
    EXPECT_EQ(result.status, FileReadStatus::kRead);
    ASSERT_EQ(result.size, bytes.size());
    read.resize(result.size);
    EXPECT_EQ(read, bytes);
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

// config.ini is read whole up to a limit; a file of exactly the limit is whole, one byte more is
// cut, and files longer than one read's chunk arrive in order.
TEST(AtomicFile, ReadTextCutsOnlyWhatIsOverTheLimit) {
    TempFolder folder;
    std::string large;
    for (int i = 0; large.size() < 200000; ++i)
        large += std::to_string(i) + ",";
    struct Case {
        std::string text;
        size_t max_bytes;
        FileReadStatus status;
        std::string bytes;
        bool truncated;
    };
    const Case cases[] = {
        {"", 8, FileReadStatus::kEmpty, "", false},
        {"abc", 8, FileReadStatus::kRead, "abc", false},
        {"abcdefgh", 8, FileReadStatus::kRead, "abcdefgh", false},
        {"abcdefghi", 8, FileReadStatus::kRead, "abcdefgh", true},
        {"abc", 0, FileReadStatus::kRead, "", true},
        {large, 1 << 20, FileReadStatus::kRead, large, false},
        {large, 150001, FileReadStatus::kRead, large.substr(0, 150001), true},
    };
    const std::string path = folder.file("config.ini");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.text.size()) + " bytes, limit " +
                     std::to_string(c.max_bytes));
        ASSERT_TRUE(write_text(path, c.text));
        const FileText text = read_file_text(path, c.max_bytes);
        EXPECT_EQ(text.status, c.status);
        EXPECT_EQ(text.bytes, c.bytes);
        EXPECT_EQ(text.truncated, c.truncated);
    }
    EXPECT_EQ(read_file_text(folder.file("missing"), 8).status, FileReadStatus::kCannotOpen);
}

}  // namespace
}  // namespace talvoro
