// Where a Linux program finds itself, its resources and its data.
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

// Each kind of program folder, side by side: only a build or relocatable folder, its skins beside
// it, keeps the data; everything else, an install above all, uses the user's data folder.
TEST(ProgramPaths, DataStaysBesideABuildFolderAndGoesToTheUsersFolderForAnInstall) {
    TempFolder folder;
    ScopedEnv no_override("TALVORO_DATA_DIR", "");
    ScopedEnv xdg("XDG_DATA_HOME", folder.file("xdg"));
    ScopedEnv home("HOME", folder.file("home"));
    const std::string users = folder.file("xdg") + "/talvoro/";

    const std::string build = folder.file("build/bin/");
    fs::create_directories(build + "TalvoroSkin");
    // <prefix>/bin/ with <prefix>/share/talvoro/ beside it; bin/ is writable here, as for root.
    const std::string installed = folder.file("usr/bin/");
    fs::create_directories(installed);
    fs::create_directories(folder.file("usr/share/talvoro/TalvoroSkin"));
    ASSERT_EQ(resource_directory_for(installed), folder.file("usr/share/talvoro/"));
    const std::string bare = folder.file("bare/bin/");  // no resources anywhere
    fs::create_directories(bare);
    // Nobody can write there, not even root: it lies under a file.
    std::ofstream(folder.file("file")) << "x";
    const std::string blocked = folder.file("file/bin/");

    struct Case {
        const char* what;
        std::string program_dir;
        std::string data;
    };
    const Case cases[] = {
        {"build folder", build, build},
        {"build folder named without the slash", build.substr(0, build.size() - 1), build},
        {"installed program", installed, users},
        {"folder without resources", bare, users},
        {"folder nobody may write to", blocked, users},
    };
    for (const Case& c : cases)
        EXPECT_EQ(data_directory_for(c.program_dir), c.data) << c.what;

    {
        ScopedEnv relative("XDG_DATA_HOME", "relative/data");  // invalid: ignored
        EXPECT_EQ(data_directory_for(installed), folder.file("home") + "/.local/share/talvoro/");
        EXPECT_EQ(data_directory_for(build), build);
    }
    ScopedEnv chosen("TALVORO_DATA_DIR", folder.file("chosen"));
    for (const Case& c : cases)
        EXPECT_EQ(data_directory_for(c.program_dir), folder.file("chosen") + "/") << c.what;
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

}  // namespace
}  // namespace talvoro
