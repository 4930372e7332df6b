// What makes a write durable and leaves nothing behind, watched at the system calls: the new
// bytes are on disk before the name points at them, and each failing step removes the temporary
// file and tells why.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "atomic_file.h"
#include "files/atomic_file_checks.h"
#include "files/linux/system_call_log.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::file_contents;
using test::other_entries;
using test::SystemCall;
using test::SystemCallLog;
using test::TempFolder;
using test::write_text;

constexpr size_t kNone = static_cast<size_t>(-1);

size_t index_of(const std::vector<SystemCall>& calls, const std::string& name,
                const std::string& path, size_t from = 0) {
    for (size_t i = from; i < calls.size(); ++i) {
        if (calls[i].name == name && calls[i].path == path)
            return i;
    }
    return kNone;
}

std::string folder_of(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

// The file itself, and a link to it from another folder: either way the temporary file lies
// beside the file it replaces (a rename cannot cross file systems) and is on disk, whole, before
// it is renamed over it; then that folder is synced so the new name survives a crash too.
TEST(AtomicFileSystemCalls, TheWholeFileIsSyncedBeforeItsRenameAndItsFolderAfter) {
    struct Case {
        const char* what;
        std::string written;  // the name the write is given
        std::string replaced;
    };
    TempFolder folder;
    std::filesystem::create_directory(folder.file("kept"));
    ASSERT_TRUE(write_text(folder.file("AllProfile"), "old"));
    ASSERT_TRUE(write_text(folder.file("kept/config.ini"), "old"));
    std::filesystem::create_symlink("kept/config.ini", folder.file("config.ini"));
    const Case cases[] = {
        {"the file", folder.file("AllProfile"), folder.file("AllProfile")},
        {"a link", folder.file("config.ini"), folder.file("kept/config.ini")},
    };
    const std::string data(70000, 'n');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SystemCallLog log(folder.path());
        ASSERT_TRUE(write_text(c.written, data));
        const std::vector<SystemCall>& calls = log.calls();
        const std::string target = log.resolved(c.replaced);

        size_t rename = kNone;
        for (size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].name == "rename")
                rename = i;
        }
        ASSERT_NE(rename, kNone) << "no rename";
        EXPECT_EQ(calls[rename].to, target);
        const std::string temp = calls[rename].path;
        EXPECT_NE(temp, target);
        EXPECT_EQ(folder_of(temp), folder_of(target));

        const size_t sync = index_of(calls, "fsync", temp);
        ASSERT_NE(sync, kNone) << "the temporary file is never synced";
        EXPECT_LT(sync, rename) << "synced after the rename";
        EXPECT_EQ(calls[sync].size, data.size()) << "synced before every byte was written";
        EXPECT_EQ(index_of(calls, "write", temp, sync), kNone) << "written after the sync";
        const size_t close = index_of(calls, "close", temp);
        EXPECT_TRUE(close > sync && close < rename) << "closed at " << close;

        EXPECT_NE(index_of(calls, "fsync", folder_of(target), rename), kNone)
            << "the folder is not synced after the rename";
        EXPECT_EQ(file_contents(c.replaced), data);
    }
    EXPECT_EQ(test::entries(folder), (std::set<std::string>{"AllProfile", "config.ini", "kept"}));
}

// Each step of a write failing as a drive or a file system can make it fail: the old file stays
// whole, the temporary file goes, and errno still says why after the clean-up.
TEST(AtomicFileSystemCalls, AFailingStepKeepsTheOldFileAndLeavesNothingBehind) {
    struct Case {
        const char* what;
        std::function<void(SystemCallLog&)> arrange;
        int error;
    };
    const Case cases[] = {
        {"write fails", [](SystemCallLog& log) { log.fail_next("write", EIO); }, EIO},
        {"the disk is full", [](SystemCallLog& log) { log.fail_next("write", ENOSPC); }, ENOSPC},
        {"write takes nothing", [](SystemCallLog& log) { log.limit_writes(0); }, ENOSPC},
        {"fsync fails", [](SystemCallLog& log) { log.fail_next("fsync", EIO); }, EIO},
        {"close reports a lost write", [](SystemCallLog& log) { log.fail_next("close", EIO); },
         EIO},
        {"the disk is full and close fails too",
         [](SystemCallLog& log) {
             log.fail_next("write", ENOSPC);
             log.fail_next("close", EIO);
         },
         ENOSPC},
        {"rename is refused", [](SystemCallLog& log) { log.fail_next("rename", EACCES); }, EACCES},
        {"rename crosses devices", [](SystemCallLog& log) { log.fail_next("rename", EXDEV); },
         EXDEV},
    };
    const std::string old_text(3000, 'o');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.file("Macros");
        ASSERT_TRUE(write_text(path, old_text));
        SystemCallLog log(folder.path());
        c.arrange(log);
        errno = 0;
        EXPECT_FALSE(write_text(path, std::string(5000, 'n')));
        EXPECT_EQ(errno, c.error) << std::strerror(errno);
        EXPECT_EQ(file_contents(path), old_text);
        EXPECT_TRUE(other_entries(folder, "Macros").empty());
    }
}

// What a write may be told without anything being wrong: it goes on until every byte is taken.
TEST(AtomicFileSystemCalls, InterruptedAndShortWritesStillWriteEveryByte) {
    struct Case {
        const char* what;
        std::function<void(SystemCallLog&)> arrange;
        size_t least_writes;
    };
    const Case cases[] = {
        {"interrupted by a signal", [](SystemCallLog& log) { log.fail_next("write", EINTR); }, 2},
        {"a thousand bytes a call", [](SystemCallLog& log) { log.limit_writes(1000); }, 5},
    };
    std::string data;
    for (int i = 0; data.size() < 4500; ++i)
        data += std::to_string(i) + " ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string path = folder.file("AllProfile");
        SystemCallLog log(folder.path());
        c.arrange(log);
        ASSERT_TRUE(write_text(path, data)) << std::strerror(errno);
        EXPECT_EQ(file_contents(path), data);
        size_t writes = 0;
        for (const SystemCall& call : log.calls())
            writes += call.name == "write" ? 1 : 0;
        EXPECT_GE(writes, c.least_writes);
        EXPECT_TRUE(other_entries(folder, "AllProfile").empty());
    }
}

}  // namespace
}  // namespace talvoro
