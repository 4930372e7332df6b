// The store's paths in Windows form: joined with '\', split at '\' and at '/', which Windows
// takes as well, so that a name chosen in a dialog is the file's own name.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store/settings_file.h"
#include "store/store_defaults.h"
#include "store/store_text.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"

namespace talvoro {
namespace {

using test::ScopedEnv;
using test::TempFolder;

TEST(StorePathsWindows, NamesAreSplitAtEitherSeparator) {
    EXPECT_EQ(file_name_part("C:\\x\\my.qxp"), "my.qxp");
    EXPECT_EQ(file_name_part("C:/x\\y/my.qxp"), "my.qxp");
    EXPECT_EQ(file_name_part("\\\\server\\share\\"), "");
    EXPECT_TRUE(has_extension("C:\\a.b\\name.QXP"));
    // The dot belongs to a folder, not to the name.
    EXPECT_FALSE(has_extension("C:\\a.b\\name"));
    EXPECT_EQ(chosen_profile_display_name("C:\\x\\my.qxp"), "my");
    EXPECT_EQ(chosen_profile_display_name("C:\\a.b\\name"), "C:\\a.b\\name");
}

TEST(StorePathsWindows, TheDataFolderIsJoinedWithBackslashes) {
    TempFolder folder;
    ScopedEnv data_dir("TALVORO_DATA_DIR", folder.path());
    const std::string data = folder.path() + "\\";
    EXPECT_EQ(profile_folder(), data + "profile\\");
    EXPECT_EQ(all_profiles_path(), data + "profile\\AllProfile");
    EXPECT_EQ(macro_store_path(), data + "profile\\Macros");
    EXPECT_EQ(macro_files_folder(), data + "macro_files\\");
    EXPECT_EQ(settings_file_path(), data + "config.ini");
    ASSERT_TRUE(ensure_program_folders());
    EXPECT_TRUE(std::filesystem::is_directory(test::utf8_path(data + "profile")));
    EXPECT_TRUE(std::filesystem::is_directory(test::utf8_path(data + "macro_files")));
}

// Saving to C:\x\my.qxp stores "my.qxp" in the block: the file carries its own name.
TEST(StorePathsWindows, ASavedProfileCarriesItsOwnName) {
    TempFolder folder;
    auto store = std::make_unique<ProfileStore>();
    reset_all_profiles(*store, 140);
    const std::string path = folder.path() + "\\Sp\u00E4ter.qxp";
    ASSERT_TRUE(write_profile_file(*store, path, 2));
    EXPECT_STREQ(store->profiles[2].file_name, "Sp\u00E4ter.qxp");
    std::memset(store->profiles[2].file_name, 0, sizeof store->profiles[2].file_name);
    ASSERT_EQ(read_profile_file(*store, path, 2), kStoreRead);
    EXPECT_STREQ(store->profiles[2].file_name, "Sp\u00E4ter.qxp");
}

}  // namespace
}  // namespace talvoro
