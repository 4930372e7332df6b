#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "dialogs/dialog_palette.h"
#include "dialogs/file_chooser_request.h"
#include "dialogs/folder_listing.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

TEST(FileNames, TheDefaultExtensionIsAddedOnlyWhenTheNameHasNone) {
    EXPECT_EQ(with_default_extension("/p/profile", "qxp"), "/p/profile.qxp");
    EXPECT_EQ(with_default_extension("/p/profile.qxp", "qxp"), "/p/profile.qxp");
    EXPECT_EQ(with_default_extension("/p/profile.QXP", "qxp"), "/p/profile.QXP");
    EXPECT_EQ(with_default_extension("/p/macros.bin", "qxm"), "/p/macros.bin");
    EXPECT_EQ(with_default_extension("/p/profile.", "qxp"), "/p/profile.qxp");
    EXPECT_EQ(with_default_extension("/p.d/profile", ".qxp"), "/p.d/profile.qxp");
    EXPECT_EQ(with_default_extension("/p/.hidden", "qxp"), "/p/.hidden.qxp");
    EXPECT_EQ(with_default_extension("/p/profile", ""), "/p/profile");
}

TEST(FileNames, AnExtensionNeedsANameBeforeIt) {
    EXPECT_TRUE(has_extension("a.qxp"));
    EXPECT_TRUE(has_extension("/x/y.z/a.b"));
    EXPECT_FALSE(has_extension("/x/y.z/a"));
    EXPECT_FALSE(has_extension(".profile"));
    EXPECT_FALSE(has_extension("a."));
    EXPECT_FALSE(has_extension(""));
}

TEST(FolderListing, PatternsIgnoreCase) {
    EXPECT_TRUE(matches_any("A.QXP", {"*.qxp"}));
    EXPECT_TRUE(matches_any("a.qxm", {"*.qxp", "*.qxm"}));
    EXPECT_FALSE(matches_any("a.qxp.bak", {"*.qxp"}));
    EXPECT_FALSE(matches_any("qxp", {"*.qxp"}));
    EXPECT_TRUE(matches_any("anything", {}));
}

TEST(FolderListing, FoldersFirstThenFilesEachByName) {
    test::TempFolder folder;
    for (const char* name : {"b.qxp", "A.qxp", "c.txt", ".x.qxp"}) {
        std::ofstream(folder.file(name)) << "12345";
    }
    ::mkdir(folder.file("Zed").c_str(), 0700);
    ::mkdir(folder.file("alpha").c_str(), 0700);
    ::mkdir(folder.file(".git").c_str(), 0700);
    ::symlink(folder.file("alpha").c_str(), folder.file("link").c_str());
    ::symlink(folder.file("gone").c_str(), folder.file("broken.qxp").c_str());

    const auto listed = list_folder(folder.path(), {"*.qxp"});
    ASSERT_TRUE(listed);
    std::vector<std::string> names;
    for (const FolderEntry& entry : *listed) {
        names.push_back(entry.name + (entry.is_folder ? "/" : ""));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"alpha/", "link/", "Zed/", "A.qxp", "b.qxp"}));
    EXPECT_EQ(listed->back().size, 5u);
    EXPECT_FALSE(list_folder(folder.file("missing"), {}));
}

TEST(DialogPalette, NamesBecomeColours) {
    EXPECT_EQ(with_dialog_palette(R"(<A bkcolor="{panel}" c="{accent}"/>)"),
              R"(<A bkcolor="#FF16161B" c="#FFFF3C3C"/>)");
    // Braces that name nothing stay as written.
    EXPECT_EQ(with_dialog_palette("{unknown} {panel"), "{unknown} {panel");
    EXPECT_EQ(with_dialog_palette("{}{text}"), "{}#FFFFFFFF");
}

}  // namespace
}  // namespace talvoro::ui
