// Device access where it is the system's: folder permissions that make a
// virtual-HID folder untrusted, and kernel nodes that cannot be opened.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "feature_device.h"
#include "library_fixture.h"

namespace talvoro::test {
namespace {

using DeviceAccess = LibraryTest;

TEST_F(DeviceAccess, UntrustedVirtualFoldersAreIgnored) {
    start_mouse();
    ASSERT_EQ(Open_QX_device(), 1);
    Close_QX_device();

    ASSERT_EQ(chmod(folder_.path().c_str(), 0777), 0);
    EXPECT_EQ(Open_QX_device(), 0) << "a folder anyone may write to";
    ASSERT_EQ(chmod(folder_.path().c_str(), 0700), 0);

    if (geteuid() == 0) {
        // Root can plant the folder as another user, as an attacker under /tmp would.
        ASSERT_EQ(chown(folder_.path().c_str(), 65534, 65534), 0);
        EXPECT_EQ(Open_QX_device(), 0) << "a folder owned by someone else";
        ASSERT_EQ(chown(folder_.path().c_str(), 0, 0), 0);
    }
    EXPECT_EQ(Open_QX_device(), 1);
}

// Kernel nodes the library may not open, or that are no HID devices at all,
// are passed over and the walk goes on.
TEST_F(DeviceAccess, UnopenableHidrawNodesArePassedOver) {
    TempFolder nodes;
    ASSERT_EQ(chmod(nodes.path().c_str(), 0755), 0);
    std::ofstream(nodes.file("hidraw0")) << "not a device";
    std::ofstream(nodes.file("hidraw1")) << "locked";
    ASSERT_EQ(chmod(nodes.file("hidraw0").c_str(), 0666), 0);
    ASSERT_EQ(chmod(nodes.file("hidraw1").c_str(), 0600), 0);
    ScopedEnv hidraw_dir("TALVORO_HIDRAW_DIR", nodes.path());
    ScopedEnv both("TALVORO_HID_BACKENDS", "hidraw,virtual");
    start_mouse();

    const auto interfaces = hid::list_interfaces();
    ASSERT_GE(interfaces.size(), 4u);
    EXPECT_STREQ(interfaces[0].backend->name(), "hidraw") << "kernel devices come first";
    EXPECT_EQ(interfaces[0].path, nodes.file("hidraw0"));
    EXPECT_EQ(Open_QX_device(), 1) << "the virtual mouse after them is still found";

    HidDeviceRecord record;
    std::string why;
    EXPECT_FALSE(identify(interfaces[0], record, &why));
    EXPECT_EQ(why, "no HID capabilities") << "a file that is no hidraw node";

    // A node of another user's: run the walk as an unprivileged user.
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to become another user";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        HidDeviceRecord node;
        std::string reason;
        const bool opened = identify(interfaces[1], node, &reason);
        _exit(!opened && reason.find("permission refused") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a refused node is passed over with its reason";
}

}  // namespace
}  // namespace talvoro::test
