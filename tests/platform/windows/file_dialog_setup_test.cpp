#include <gtest/gtest.h>

#include "platform/windows/file_dialog_setup.h"

namespace talvoro::platform {
namespace {

TEST(FileDialogSetup, TypesFolderAndSuggestedNameOfARequest) {
    ui::FileChooserRequest profile;
    profile.mode = ui::FileChooserRequest::Mode::kSave;
    profile.filter_name = "QX profile (*.qxp)";
    profile.patterns = {"*.qxp"};
    profile.default_extension = "qxp";
    profile.initial_path = "C:\\Program Files\\Talvoro\\profile\\profile.qxp";
    profile.offer_all_files = true;
    DialogSetup setup = dialog_setup(profile);
    ASSERT_EQ(setup.types.size(), 2u);
    EXPECT_EQ(setup.types[0].name, L"QX profile (*.qxp)");
    EXPECT_EQ(setup.types[0].spec, L"*.qxp");
    EXPECT_EQ(setup.types[1].name, L"All files(*.*)");
    EXPECT_EQ(setup.types[1].spec, L"*.*");
    EXPECT_EQ(setup.folder, L"C:\\Program Files\\Talvoro\\profile\\");
    EXPECT_EQ(setup.file_name, L"profile.qxp");
    EXPECT_EQ(setup.default_extension, L"qxp");

    // Several patterns are one type; a name alone opens where the dialog likes; no filter at all
    // still offers every file; names in any script.
    ui::FileChooserRequest other;
    other.filter_name = "Macros";
    other.patterns = {"*.qxm", "*.QXM"};
    other.initial_path = "Pr\u00FCfung \u6EDA\u8F6E.qxm";
    setup = dialog_setup(other);
    ASSERT_EQ(setup.types.size(), 1u);
    EXPECT_EQ(setup.types[0].spec, L"*.qxm;*.QXM");
    EXPECT_EQ(setup.folder, L"");
    EXPECT_EQ(setup.file_name, L"Pr\u00FCfung \u6EDA\u8F6E.qxm");
    setup = dialog_setup(ui::FileChooserRequest{});
    ASSERT_EQ(setup.types.size(), 1u);
    EXPECT_EQ(setup.types[0].spec, L"*.*");
}

}  // namespace
}  // namespace talvoro::platform
