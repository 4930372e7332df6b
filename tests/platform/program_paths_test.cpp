#include "platform/program_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::ScopedEnv;
using test::TempFolder;
namespace fs = std::filesystem;

TEST(ProgramPaths, ProgramDirectoryHoldsThisProgram) {
    const std::string folder = program_directory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::exists(folder + "platform_tests"));
}

TEST(ProgramPaths, DataDirectoryIsTheProgramFolderWhenWritableElseTheUsersDataFolder) {
    TempFolder folder;
    ScopedEnv no_override("TALVORO_DATA_DIR", "");
    ScopedEnv xdg("XDG_DATA_HOME", folder.file("xdg"));
    ScopedEnv home("HOME", folder.file("home"));
    fs::create_directory(folder.file("bin"));
    EXPECT_EQ(data_directory_for(folder.file("bin")), folder.file("bin") + "/");

    // A program folder nobody can write to, even root: it lies under a file.
    std::ofstream(folder.file("file")) << "x";
    const std::string blocked = folder.file("file/bin/");
    EXPECT_EQ(data_directory_for(blocked), folder.file("xdg") + "/talvoro/");
    {
        ScopedEnv relative("XDG_DATA_HOME", "relative/data");  // invalid: ignored
        EXPECT_EQ(data_directory_for(blocked), folder.file("home") + "/.local/share/talvoro/");
    }
    ScopedEnv chosen("TALVORO_DATA_DIR", folder.file("chosen"));
    EXPECT_EQ(data_directory_for(folder.file("bin")), folder.file("chosen") + "/");
    EXPECT_EQ(data_directory(), folder.file("chosen") + "/");
}

TEST(ProgramPaths, ResourcesComeFromTheProgramFolderElseTheInstallsShareFolder) {
    TempFolder folder;
    const std::string bin = folder.file("prefix/bin/");
    fs::create_directories(bin);
    EXPECT_EQ(resource_directory_for(bin), bin);  // nothing anywhere: the program folder
    fs::create_directories(folder.file("prefix/share/talvoro"));
    EXPECT_EQ(resource_directory_for(bin), folder.file("prefix/share/talvoro/"));
    fs::create_directories(bin + "TalvoroSkin");
    EXPECT_EQ(resource_directory_for(bin), bin);
}

TEST(ProgramPaths, EnsureFolderCreatesMissingParents) {
    TempFolder folder;
    EXPECT_TRUE(ensure_folder(folder.file("a/b/c")));
    EXPECT_TRUE(fs::is_directory(folder.file("a/b/c")));
    EXPECT_TRUE(ensure_folder(folder.file("a/b/c")));  // already there
    EXPECT_TRUE(ensure_folder(folder.file("d//e/")));
    EXPECT_TRUE(fs::is_directory(folder.file("d/e")));

    std::ofstream(folder.file("file")) << "x";
    EXPECT_FALSE(ensure_folder(folder.file("file")));
    EXPECT_FALSE(ensure_folder(folder.file("file/sub")));
    EXPECT_FALSE(ensure_folder(""));
}

}  // namespace
}  // namespace talvoro
