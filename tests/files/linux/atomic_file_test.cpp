// What the POSIX file system adds to atomic replacement: modes, links, signals and limits.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>

#include "atomic_file.h"
#include "file_reading.h"
#include "files/atomic_file_checks.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::file_contents;
using test::other_entries;
using test::TempFolder;
using test::write_text;

TEST(AtomicFile, NewFileHonoursUmaskAndReplacedFileKeepsItsMode) {
    TempFolder folder;
    const mode_t old_umask = ::umask(022);
    ASSERT_TRUE(write_text(folder.file("a"), "x"));
    ::umask(077);
    ASSERT_TRUE(write_text(folder.file("b"), "x"));
    ::umask(old_umask);
    struct stat info {};
    ASSERT_EQ(::stat(folder.file("a").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    ASSERT_EQ(::stat(folder.file("b").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_EQ(::chmod(folder.file("a").c_str(), 0640), 0);
    ASSERT_TRUE(write_text(folder.file("a"), "y"));
    ASSERT_EQ(::stat(folder.file("a").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFile, ReplacesTheTargetOfALinkAndKeepsTheLink) {
    TempFolder folder;
    ASSERT_TRUE(write_text(folder.file("real.ini"), "old"));
    std::filesystem::create_symlink("real.ini", folder.file("config.ini"));
    ASSERT_TRUE(write_text(folder.file("config.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("config.ini")));
    EXPECT_EQ(file_contents(folder.file("real.ini")), "new");
}

// A write that the file-size limit cuts off half-way: the old file survives
// and the temporary file is removed.
TEST(AtomicFile, WriteCutOffHalfWayKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file("Macros");
    const std::string old_text(3000, 'o');
    ASSERT_TRUE(write_text(path, old_text));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead
        struct rlimit limit {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string big(1 << 20, 'n');
        ::_exit(write_text(path, big) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut-off write reported success";
    EXPECT_EQ(file_contents(path), old_text);
    EXPECT_TRUE(other_entries(folder, "Macros").empty());
}

// A writer killed at some moment while it rewrites the file again and again:
// the file is always one whole version, never a mixture or a stump.
TEST(AtomicFile, KilledWriterLeavesOneWholeVersion) {
    TempFolder folder;
    const std::string path = folder.file("AllProfile");
    const std::string first(2 << 20, 'a');
    const std::string second(2 << 20, 'b');
    ASSERT_TRUE(write_text(path, first));

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        for (int round = 0;; ++round) {
            write_text(path, round % 2 == 0 ? second : first);
            if (round == 2) {
                const char byte = 1;
                if (::write(ready[1], &byte, 1) != 1)
                    ::_exit(2);
            }
        }
    }
    ::close(ready[1]);
    char byte = 0;
    const ssize_t got = ::read(ready[0], &byte, 1);  // the child is in its loop of writes
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_EQ(got, 1);

    const std::string now = file_contents(path);
    EXPECT_TRUE(now == first || now == second) << "size " << now.size();
}

TEST(AtomicFile, ReadingRefusesAFifoWithoutWaitingOnIt) {
    TempFolder folder;
    char buffer[8] = {};
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);
    EXPECT_EQ(read_file_prefix(folder.file("pipe"), buffer, 4).status, FileReadStatus::kCannotOpen);
    EXPECT_EQ(read_file_text(folder.file("pipe"), 4).status, FileReadStatus::kCannotOpen);
}

// A device would pass for an endless or an empty file, and a folder for one that cannot be read.
TEST(AtomicFile, ReadingRefusesDevicesAndFolders) {
    TempFolder folder;
    for (const std::string& path :
         {std::string("/dev/zero"), std::string("/dev/null"), folder.path(), std::string("/")}) {
        SCOPED_TRACE(path);
        char buffer[8] = {};
        EXPECT_EQ(read_file_prefix(path, buffer, sizeof buffer).status,
                  FileReadStatus::kCannotOpen);
        EXPECT_EQ(read_file_text(path, 8).status, FileReadStatus::kCannotOpen);
    }
}

// A link into another folder: the file it points to is replaced there and keeps its own mode, and
// nothing is left beside the link or beside the file.
TEST(AtomicFile, ALinkIntoAnotherFolderIsFollowedThere) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("kept"));
    ASSERT_TRUE(write_text(folder.file("kept/config.ini"), "old"));
    ASSERT_EQ(::chmod(folder.file("kept/config.ini").c_str(), 0600), 0);
    std::filesystem::create_symlink("kept/config.ini", folder.file("config.ini"));
    ASSERT_TRUE(write_text(folder.file("config.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("config.ini")));
    EXPECT_EQ(file_contents(folder.file("kept/config.ini")), "new");
    struct stat info {};
    ASSERT_EQ(::stat(folder.file("kept/config.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(test::entries(folder), (std::set<std::string>{"config.ini", "kept"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.file("kept")),
                            std::filesystem::directory_iterator()),
              1);

    // A link to nothing is replaced by the file itself.
    std::filesystem::create_symlink("nowhere/AllProfile", folder.file("AllProfile"));
    ASSERT_TRUE(write_text(folder.file("AllProfile"), "block"));
    EXPECT_FALSE(std::filesystem::is_symlink(folder.file("AllProfile")));
    EXPECT_EQ(file_contents(folder.file("AllProfile")), "block");
}

}  // namespace
}  // namespace talvoro
