// The virtual-HID folder the program serves into, as Linux guards it: a folder of this user
// that no one else may write to.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

int run_to_end(const std::vector<std::string>& args) {
    return run_program(TALVORO_VIRTUAL_MOUSE_PATH, args, 10).exit_status;
}

TEST(VirtualMouseFolderTest, ServesOnlyIntoAPrivateFolder) {
    TempFolder folder;
    const std::string shared = folder.file("shared");
    ASSERT_EQ(mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0777), 0);
    EXPECT_EQ(run_to_end({"--dir", shared}), 2);
    EXPECT_FALSE(exists(shared + "/talvoro.if1.hid"));
    EXPECT_EQ(run_to_end({"--dir", folder.path(), "--refuse", "0x100"}), 2);

    const std::string fresh = folder.file("hid");  // a missing folder is made private
    {
        VirtualMouseProcess mouse(fresh);
        EXPECT_TRUE(exists(mouse.socket_path(1)));
    }
    struct stat info {};
    ASSERT_EQ(stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace talvoro::test
