// talvoro_cli as a user runs it, against a virtual mouse with the real waits.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

constexpr size_t kStoreSize = 7207546;
constexpr size_t kStateSlot = 10240;

class Cli : public ::testing::Test {
  protected:
    ProgramResult cli(const std::vector<std::string>& args) {
        return run_program(built_program("talvoro_cli"), args);
    }

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path()};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", folder_.path()};
    ScopedEnv desktop_{"TALVORO_DESKTOP_SETTINGS", "file"};
};

TEST_F(Cli, ReadApplyReadRoundTrips) {
    VirtualMouseProcess mouse(folder_.path());
    const std::string first = folder_.file("first.all");
    const std::string second = folder_.file("second.all");
    ProgramResult result = cli({"read", first});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    const std::string image = file_contents(first);
    ASSERT_EQ(image.size(), kStoreSize);

    // Make profile 4 current in the image (current_profile is its first int).
    std::string changed = image;
    changed[0] = 4;
    std::ofstream(first, std::ios::binary | std::ios::trunc) << changed;
    result = cli({"apply", first});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(mouse.read_state().at(kStateSlot), 3);

    result = cli({"read", second});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(file_contents(second), changed) << "what was applied is what is read back";

    result = cli({"show"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find("profile 4 (current)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("button 1         Left Click"), std::string::npos);
    result = cli({"show", second});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("firmware V1.05"), std::string::npos) << result.out;
}

TEST_F(Cli, FailuresAreToldAndLeaveFilesAlone) {
    const std::string target = folder_.file("never.all");
    ProgramResult result = cli({"read", target});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_NE(result.err.find("no Talvoro mouse answers"), std::string::npos) << result.err;
    EXPECT_FALSE(std::ifstream(target).good()) << "nothing is written when the read fails";

    std::ofstream(folder_.file("empty.all"));
    result = cli({"apply", folder_.file("empty.all")});
    EXPECT_EQ(result.exit_status, 4);
    EXPECT_NE(result.err.find("is empty"), std::string::npos);
    result = cli({"show", folder_.file("missing.all")});
    EXPECT_EQ(result.exit_status, 4);
    EXPECT_NE(result.err.find("cannot open"), std::string::npos);
    EXPECT_EQ(cli({"frobnicate"}).exit_status, 2);
    EXPECT_EQ(cli({"read"}).exit_status, 2);

    VirtualMouseProcess mouse(folder_.path(), {"--refuse", "0x08"});
    // A short, hand-cut image loads (the rest reads as zero) but the mouse refuses it.
    std::ofstream(folder_.file("short.all"), std::ios::binary) << std::string(100, '\1');
    const std::vector<uint8_t> before = mouse.read_state();
    result = cli({"apply", folder_.file("short.all")});
    EXPECT_EQ(result.exit_status, 3);
    EXPECT_NE(result.err.find("status 255"), std::string::npos) << result.err;
    EXPECT_EQ(mouse.read_state(), before);
}

// Names reach the program whole, whatever the system's code page: on Windows they come from the
// wide command line, not from the ANSI argv.
TEST_F(Cli, FilesNamedInAnyScriptAreFound) {
    const std::string path = folder_.file("Pr\u00FCfung \u6EDA\u8F6E.all");
    std::string image(kStoreSize, '\0');
    image[0] = 3;  // current_profile
    std::ofstream(utf8_path(path), std::ios::binary) << image;
    const ProgramResult result = cli({"show", path});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find("profile 3 (current)"), std::string::npos) << result.out;
    EXPECT_EQ(cli({"show", path + "x"}).exit_status, 4);
}

}  // namespace
}  // namespace talvoro::test
