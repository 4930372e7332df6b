// What Windows adds to atomic replacement: the replaced file's attributes kept, read-only files,
// files others hold open, devices in place of files, and names in UTF-16.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <string>
#include <thread>

#include "atomic_file.h"
#include "file_reading.h"
#include "files/atomic_file_checks.h"
#include "platform/windows/windows_text.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::entries;
using test::file_contents;
using test::TempFolder;
using test::write_text;
using windows::to_wide;

DWORD attributes_of(const std::string& path) {
    return GetFileAttributesW(to_wide(path).c_str());
}

HANDLE open_shared(const std::string& path, DWORD share) {
    return CreateFileW(to_wide(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(AtomicFileWindows, ReplacedFileKeepsItsAttributes) {
    TempFolder folder;
    const std::string path = folder.file("AllProfile");
    ASSERT_TRUE(write_text(path, std::string(4000, 'o')));
    EXPECT_EQ(attributes_of(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
    ASSERT_TRUE(
        SetFileAttributesW(to_wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    ASSERT_TRUE(write_text(path, "new"));
    EXPECT_EQ(file_contents(path), "new");
    EXPECT_EQ(attributes_of(path) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(entries(folder), std::set<std::string>{"AllProfile"});
    // A new file is an ordinary one.
    ASSERT_TRUE(write_text(folder.file("fresh"), "x"));
    EXPECT_EQ(attributes_of(folder.file("fresh")) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              0u);
}

// The read-only attribute is the user's wish that the file stay as it is.
TEST(AtomicFileWindows, ReadOnlyFileIsRefusedAndKeptAsItWas) {
    TempFolder folder;
    const std::string path = folder.file("config.ini");
    ASSERT_TRUE(write_text(path, "[Configuration Option]\r\nlang=01\r\n"));
    ASSERT_TRUE(SetFileAttributesW(to_wide(path).c_str(), FILE_ATTRIBUTE_READONLY));

    errno = 0;
    EXPECT_FALSE(write_text(path, "lang=02"));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(file_contents(path), "[Configuration Option]\r\nlang=01\r\n");
    EXPECT_NE(attributes_of(path) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(entries(folder), std::set<std::string>{"config.ini"});
    SetFileAttributesW(to_wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);  // so the folder can go
}

// A viewer or scanner that shares the file lets it be replaced at once; one that does not is
// waited for a moment; one that holds on fails the write and leaves the old file whole.
TEST(AtomicFileWindows, FilesOthersHoldOpenAreReplacedOrLeftWhole) {
    TempFolder folder;
    const std::string path = folder.file("Macros");
    const std::string old_text(3000, 'o');
    ASSERT_TRUE(write_text(path, old_text));

    HANDLE sharing = open_shared(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(sharing, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(write_text(path, "while shared"));
    CloseHandle(sharing);
    EXPECT_EQ(file_contents(path), "while shared");

    HANDLE brief = open_shared(path, FILE_SHARE_READ);
    ASSERT_NE(brief, INVALID_HANDLE_VALUE);
    std::thread release([brief] {
        Sleep(200);
        CloseHandle(brief);
    });
    EXPECT_TRUE(write_text(path, "after the scan"));
    release.join();
    EXPECT_EQ(file_contents(path), "after the scan");

    HANDLE holding = open_shared(path, FILE_SHARE_READ);
    ASSERT_NE(holding, INVALID_HANDLE_VALUE);
    errno = 0;
    EXPECT_FALSE(write_text(path, "never"));
    EXPECT_TRUE(errno == EBUSY || errno == EACCES) << errno;
    CloseHandle(holding);
    EXPECT_EQ(file_contents(path), "after the scan");
    EXPECT_EQ(entries(folder), std::set<std::string>{"Macros"});
}

TEST(AtomicFileWindows, AMissingFolderIsToldAndNotMade) {
    TempFolder folder;
    errno = 0;
    EXPECT_FALSE(write_text(folder.file("missing\\AllProfile"), "x"));
    EXPECT_EQ(errno, ENOENT);
    errno = 0;
    EXPECT_FALSE(write_text(folder.path() + "\\missing\\deeper\\AllProfile", "x"));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(entries(folder).empty());
}

// Names are UTF-8 in the program and UTF-16 on disk; each script arrives whole.
TEST(AtomicFileWindows, NamesInAnyScriptRoundTrip) {
    TempFolder folder;
    const std::string name =
        "Profil \xC3\xA4\xE2\x82\xAC \xE6\xBB\x9A\xE8\xBD\xAE \xF0\x9F\x96\xB1.qxp";
    ASSERT_TRUE(write_text(folder.file(name), "block"));
    EXPECT_EQ(entries(folder), std::set<std::string>{name});
    const std::wstring wide_path =
        to_wide(folder.path()) + L"\\Profil \u00E4\u20AC \u6EDA\u8F6E \U0001F5B1.qxp";
    EXPECT_NE(GetFileAttributesW(wide_path.c_str()), INVALID_FILE_ATTRIBUTES);
    char buffer[16] = {};
    const FileReadResult read = read_file_prefix(folder.file(name), buffer, sizeof buffer);
    EXPECT_EQ(read.status, FileReadStatus::kRead);
    EXPECT_EQ(std::string(buffer, read.size), "block");
}

// What a file dialog might hand over besides files: none is read, and none makes the reader wait.
TEST(AtomicFileWindows, ReadingRefusesDevicesPipesAndFolders) {
    TempFolder folder;
    char buffer[8] = {};
    for (const std::string& path : {std::string("NUL"), std::string("\\\\.\\NUL"), folder.path()}) {
        EXPECT_EQ(read_file_prefix(path, buffer, sizeof buffer).status, FileReadStatus::kCannotOpen)
            << path;
        EXPECT_EQ(read_file_text(path, 8).status, FileReadStatus::kCannotOpen) << path;
    }
    const std::wstring pipe_name =
        L"\\\\.\\pipe\\talvoro-atomic-test-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(pipe_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 2, 64, 64,
                                   0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    const std::string pipe_path = windows::to_utf8(pipe_name);
    EXPECT_EQ(read_file_prefix(pipe_path, buffer, sizeof buffer).status,
              FileReadStatus::kCannotOpen);
    CloseHandle(pipe);
}

}  // namespace
}  // namespace talvoro
