// The store's paths in Linux form: joined and split at '/' alone; a backslash is part of a name.
#include <gtest/gtest.h>

#include <filesystem>

#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store/store_text.h"
#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::ScopedEnv;
using test::TempFolder;

TEST(StorePathsLinux, OnlySlashesSeparateFolders) {
    EXPECT_EQ(file_name_part("/home/u/a\\b.qxp"), "a\\b.qxp");
    EXPECT_TRUE(has_extension("/home/u.d/x\\name.qxp"));
    EXPECT_FALSE(has_extension("/home/u.d/name"));
    EXPECT_EQ(chosen_profile_display_name("/home/u/a\\my.qxp"), "a\\my");
}

TEST(StorePathsLinux, TheDataFolderIsJoinedWithSlashes) {
    TempFolder folder;
    ScopedEnv data_dir("TALVORO_DATA_DIR", folder.path());
    const std::string data = folder.path() + "/";
    EXPECT_EQ(all_profiles_path(), data + "profile/AllProfile");
    EXPECT_EQ(macro_store_path(), data + "profile/Macros");
    EXPECT_EQ(macro_files_folder(), data + "macro_files/");
    ASSERT_TRUE(ensure_program_folders());
    EXPECT_TRUE(std::filesystem::is_directory(data + "profile"));
}

}  // namespace
}  // namespace talvoro
