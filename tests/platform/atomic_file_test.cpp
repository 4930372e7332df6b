#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::TempFolder;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool write_text(const std::string& path, const std::string& text) {
    return write_file_atomically(path, text.data(), text.size());
}

// Names in the folder besides `keep`: leftovers of a failed write.
std::vector<std::string> other_entries(const TempFolder& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        if (entry.path().filename() != keep)
            names.push_back(entry.path().filename());
    }
    return names;
}

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

TEST(AtomicFile, ReplacesTheTargetOfALinkAndKeepsTheLink) {
    TempFolder folder;
    ASSERT_TRUE(write_text(folder.file("real.ini"), "old"));
    std::filesystem::create_symlink("real.ini", folder.file("config.ini"));
    ASSERT_TRUE(write_text(folder.file("config.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("config.ini")));
    EXPECT_EQ(contents(folder.file("real.ini")), "new");
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
    EXPECT_EQ(contents(path), old_text);
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

    const std::string now = contents(path);
    EXPECT_TRUE(now == first || now == second) << "size " << now.size();
}

TEST(AtomicFile, ReadPrefixTellsMissingEmptyShortAndLongFiles) {
    TempFolder folder;
    char buffer[8] = {};
    FileReadResult result = read_file_prefix(folder.file("missing"), buffer, sizeof buffer);
    EXPECT_EQ(result.status, FileReadStatus::kCannotOpen);
    result = read_file_prefix(folder.path(), buffer, sizeof buffer);  // a folder
    EXPECT_EQ(result.status, FileReadStatus::kCannotOpen);
    ASSERT_EQ(::mkfifo(folder.file("pipe").c_str(), 0600), 0);  // refused, not waited on
    EXPECT_EQ(read_file_prefix(folder.file("pipe"), buffer, 4).status, FileReadStatus::kCannotOpen);

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
