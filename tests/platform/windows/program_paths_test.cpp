// Where a Windows program finds itself, its resources and its data.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/program_paths.h"
#include "platform/windows/windows_text.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"

namespace talvoro {
namespace {

using test::ScopedEnv;
using test::TempFolder;
namespace fs = std::filesystem;

bool is_folder(const std::string& path) {
    return fs::is_directory(test::utf8_path(path));
}

TEST(ProgramPathsWindows, ProgramDirectoryIsTheModulesFolderInWindowsForm) {
    const std::string folder = program_directory();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(folder.find('/'), std::string::npos) << folder;
    EXPECT_TRUE(folder[1] == ':' || folder.starts_with("\\\\")) << "not absolute: " << folder;
    EXPECT_TRUE(fs::is_regular_file(test::utf8_path(folder + "platform_tests.exe"))) << folder;
    // The skins live beside the program: there is no share/ on Windows.
    EXPECT_EQ(resource_directory(), folder);
    EXPECT_EQ(resource_directory_for("D:\\Games\\Talvoro"), "D:\\Games\\Talvoro\\");
}

// Beside the program when this user may write there, as the Windows edition kept it; else in the
// user's local application data; TALVORO_DATA_DIR before both.
TEST(ProgramPathsWindows, DataStaysBesideAWritableProgramElseGoesToLocalAppData) {
    TempFolder folder;
    ScopedEnv no_override("TALVORO_DATA_DIR", "");
    const std::optional<std::string> local = windows::environment_variable("LOCALAPPDATA");
    ASSERT_TRUE(local && !local->empty()) << "the session names no LOCALAPPDATA";
    const std::string users = *local + "\\Talvoro\\";

    const std::string writable = folder.path() + "\\Program";
    ASSERT_TRUE(CreateDirectoryW(test::utf8_path(writable).c_str(), nullptr));
    std::ofstream(test::utf8_path(folder.file("file"))) << "x";

    struct Case {
        const char* what;
        std::string program_dir;
        std::string data;
    };
    const Case cases[] = {
        {"writable folder", writable + "\\", writable + "\\"},
        {"writable folder named without the separator", writable, writable + "\\"},
        {"folder that does not exist", folder.path() + "\\gone\\", users},
        {"folder under a file, which nobody can write to", folder.path() + "\\file\\bin\\", users},
        {"no program folder at all", "", users},
    };
    for (const Case& c : cases)
        EXPECT_EQ(data_directory_for(c.program_dir), c.data) << c.what;
    // Finding out wrote nothing that stayed.
    EXPECT_TRUE(fs::is_empty(test::utf8_path(writable)));

    ScopedEnv chosen("TALVORO_DATA_DIR", folder.path() + "\\chosen");
    for (const Case& c : cases)
        EXPECT_EQ(data_directory_for(c.program_dir), folder.path() + "\\chosen\\") << c.what;
    EXPECT_EQ(data_directory(), folder.path() + "\\chosen\\");
    ScopedEnv with_slash("TALVORO_DATA_DIR", folder.path() + "/chosen/");
    EXPECT_EQ(data_directory(), folder.path() + "/chosen/");
}

TEST(ProgramPathsWindows, EnsureFolderSplitsAtEitherSeparator) {
    TempFolder folder;
    EXPECT_TRUE(ensure_folder(folder.path() + "\\a\\b/c\\"));
    EXPECT_TRUE(is_folder(folder.path() + "\\a\\b\\c"));
    EXPECT_TRUE(ensure_folder(folder.path() + "\\a\\b\\c"));  // already there
    EXPECT_TRUE(ensure_folder(folder.path() + "\\\xC3\xA4\\\xE6\xBB\x9A"));
    EXPECT_TRUE(is_folder(folder.path() + "\\\xC3\xA4\\\xE6\xBB\x9A"));
    std::ofstream(test::utf8_path(folder.file("file"))) << "x";
    EXPECT_FALSE(ensure_folder(folder.path() + "\\file\\sub"));
    EXPECT_FALSE(is_folder(folder.path() + "\\file"));
}

}  // namespace
}  // namespace talvoro
