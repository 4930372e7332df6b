#include "platform/program_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_folder.h"

namespace talvoro {
namespace {

using test::TempFolder;
namespace fs = std::filesystem;

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
