// How the program finds talvoro_api.dll: by full path in its own folder first, so that a file of
// that name in the current folder or on PATH can never stand in for it; then the system's safe
// search, which looks in neither.
#include "platform/dynamic_library.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/platform_names.h"
#include "platform/program_paths.h"
#include "platform/windows/windows_text.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using windows::to_wide;

// Runs the test in `folder` as the current folder and first folder of PATH, where a planted
// library would be found by an unsafe search.
class PlantedFolder {
  public:
    explicit PlantedFolder(const std::string& folder)
        : path_("PATH", folder + ";" + windows::environment_variable("PATH").value_or("")) {
        wchar_t old[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, old);
        old_ = old;
        EXPECT_TRUE(SetCurrentDirectoryW(to_wide(folder).c_str()));
    }
    ~PlantedFolder() { SetCurrentDirectoryW(old_.c_str()); }

  private:
    test::ScopedEnv path_;
    std::wstring old_;
};

bool plant(const std::string& built, const std::string& as) {
    return CopyFileW(to_wide(program_directory() + built).c_str(), to_wide(as).c_str(), FALSE) != 0;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

TEST(DynamicLibraryWindows, TheProgramFoldersLibraryWinsOverAPlantedOne) {
    test::TempFolder folder;
    // The planted copy lacks Read_profile, so which one was loaded shows.
    ASSERT_TRUE(plant(TALVORO_API_WITHOUT_READ_FILE, folder.path() + "\\" + kDeviceLibraryFile));
    PlantedFolder planted(folder.path());
    const auto library = DynamicLibrary::load(kDeviceLibraryFile);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(lower(library->path()), lower(program_directory() + kDeviceLibraryFile));
    EXPECT_NE(library->symbol("Read_profile"), nullptr);
    EXPECT_NE(library->symbol("Open_QX_device"), nullptr);
    EXPECT_EQ(library->symbol("No_such_export"), nullptr);
    EXPECT_EQ(library->symbol(nullptr), nullptr);
}

TEST(DynamicLibraryWindows, ALibraryOnlyInTheCurrentFolderOrOnPathIsNeverLoaded) {
    test::TempFolder folder;
    ASSERT_TRUE(plant(TALVORO_API_WITHOUT_READ_FILE, folder.path() + "\\talvoro_planted.dll"));
    PlantedFolder planted(folder.path());
    EXPECT_EQ(DynamicLibrary::load("talvoro_planted.dll"), nullptr);
    EXPECT_EQ(DynamicLibrary::load("talvoro_missing.dll"), nullptr);
    EXPECT_EQ(DynamicLibrary::load(""), nullptr);
    // Named by its full path, the same file is the caller's explicit choice.
    const auto chosen = DynamicLibrary::load(folder.path() + "\\talvoro_planted.dll");
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->symbol("Read_profile"), nullptr);
}

TEST(DynamicLibraryWindows, SystemLibrariesComeFromTheSystemFolder) {
    const auto library = DynamicLibrary::load("version.dll");
    ASSERT_NE(library, nullptr);
    wchar_t system[MAX_PATH] = {};
    ASSERT_NE(GetSystemDirectoryW(system, MAX_PATH), 0u);
    EXPECT_EQ(lower(library->path()), lower(windows::to_utf8(system) + "\\version.dll"));
    EXPECT_NE(library->symbol("GetFileVersionInfoW"), nullptr);
}

}  // namespace
}  // namespace talvoro
