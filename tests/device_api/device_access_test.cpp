// Finding and opening the configuration interface through the real socket
// transport of virtual mice, and the feature-report calls around it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

#include "composite_descriptors.h"
#include "feature_device.h"
#include "library_fixture.h"
#include "profile_image.h"
#include "protocol.h"

namespace talvoro::test {
namespace {

int open_descriptors() {
    int count = 0;
    DIR* dir = opendir("/proc/self/fd");
    while (dir != nullptr && readdir(dir) != nullptr)
        ++count;
    if (dir != nullptr)
        closedir(dir);
    return count;
}

uint16_t firmware_version() {
    uint16_t version = 0;
    EXPECT_EQ(Get_fw_version(&version), QX_STATUS_DONE);
    return version;
}

using DeviceAccess = LibraryTest;

TEST_F(DeviceAccess, FeatureCallsNeedAnOpenDevice) {
    uint8_t report[protocol::kCommandLength] = {protocol::kCommandReport};
    EXPECT_EQ(SetFeature(report, sizeof report), 0);
    EXPECT_EQ(GetFeature(report, sizeof report), 0);
    EXPECT_EQ(Close_QX_device(), 1) << "closing with nothing open";
    EXPECT_EQ(Open_QX_device(), 0) << "no mouse yet";

    start_mouse();
    ASSERT_EQ(Open_QX_device(), 1);
    report[1] = protocol::kCmdFirmware;
    EXPECT_EQ(SetFeature(report, sizeof report), 1);
    EXPECT_EQ(GetFeature(report, sizeof report), 1);
    EXPECT_EQ(report[1], 1);
    EXPECT_EQ(Close_QX_device(), 1);
    EXPECT_EQ(SetFeature(report, sizeof report), 0) << "after the close";

    // The second export names are the same functions.
    EXPECT_EQ(Open_FeatureDevice(), 1);
    EXPECT_EQ(Close_FeatureDevice(), 1);
    EXPECT_EQ(GetFeature(report, sizeof report), 0);
}

TEST_F(DeviceAccess, OpeningAgainReleasesTheHeldHandle) {
    start_mouse();
    ASSERT_EQ(Open_QX_device(), 1);
    const int held = open_descriptors();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(open_descriptors(), held);
    Close_QX_device();
    EXPECT_EQ(open_descriptors(), held - 1);
}

TEST_F(DeviceAccess, TheFirstMouseInEnumerationOrderIsTaken) {
    auto& first = start_mouse({"--firmware", "101"}, "mouse-a");
    start_mouse({"--firmware", "202"}, "mouse-b");
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(firmware_version(), 101);
    first.unplug();
    EXPECT_EQ(Get_fw_version(nullptr), QX_STATUS_TRANSPORT) << "the held mouse is gone";
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(firmware_version(), 202);
}

TEST_F(DeviceAccess, OtherCollectionsAndDevicesAreNeverOpened) {
    auto& pointer = start_mouse({"--interfaces", "pointer"}, "pointer-only");
    start_mouse({"--vendor-id", "0x1234"}, "foreign-vendor");
    start_mouse({"--product-id", "0x7777"}, "foreign-product");
    EXPECT_EQ(Open_QX_device(), 0);

    std::string why;
    HidDeviceRecord record;
    ASSERT_FALSE(
        identify({hid::backend_for(pointer.socket_path(0)), pointer.socket_path(0)}, record, &why));
    EXPECT_EQ(why, "not the configuration collection (usage page)");
    EXPECT_FALSE(record.handle) << "a passed-over interface is closed";
}

// A composite interface (keyboard, consumer control, then the configuration
// collection) is one node on Linux: the third collection is the mouse, and
// profiles travel over the node as usual.
TEST_F(DeviceAccess, TheConfigurationCollectionIsFoundBehindOthers) {
    const std::string file = write_descriptor(
        folder_.file("composite.desc"), composite({&kKeyboardCollection, &kConsumerCollection}));
    auto& mouse = start_mouse({"--config-descriptor", file});

    HidDeviceRecord record;
    std::string why;
    const std::string config = mouse.socket_path(1);
    ASSERT_TRUE(identify({hid::backend_for(config), config}, record, &why)) << why;
    ASSERT_EQ(record.collections.size(), 3u);
    EXPECT_EQ(record.caps.usage_page, protocol::kUsagePage) << "the matching collection's caps";
    EXPECT_EQ(record.caps.feature_report_byte_length, protocol::kBulkLength);
    EXPECT_EQ(record.caps.input_report_byte_length, 0) << "not the keyboard's";
    record.release();

    ASSERT_EQ(Open_QX_device(), 1);
    auto read = std::make_unique<ProfileRecord>();
    ASSERT_EQ(Read_profile(2, read.get()), QX_STATUS_DONE);
    EXPECT_EQ(read->profile_index, 2);
    read->cpi[0] = 12345;
    read->angle_snapping = 1;
    ASSERT_EQ(Write_profile(2, read.get()), QX_STATUS_DONE);
    const auto image = state_image(mouse, 2);
    ASSERT_EQ(image.size(), size_t{TALVORO_IMAGE_SIZE});
    auto again = std::make_unique<ProfileRecord>();
    ASSERT_EQ(Read_profile(2, again.get()), QX_STATUS_DONE);
    EXPECT_EQ(again->cpi[0], 12345);
    EXPECT_EQ(again->angle_snapping, 1);
    EXPECT_EQ(std::memcmp(again->buttons, read->buttons, sizeof read->buttons), 0);
}

// Each collection meets the four tests in order as a device of its own; only
// one that passes all of them is taken, and a node passed over names the
// collection that came closest.
TEST_F(DeviceAccess, OnlyACollectionPassingEveryTestIsTaken) {
    auto descriptor_mouse = [&](const std::string& name, const Descriptor& bytes,
                                std::vector<std::string> more = {}) -> VirtualMouseProcess& {
        more.insert(more.end(), {"--interfaces", "config", "--config-descriptor",
                                 write_descriptor(folder_.file(name + ".desc"), bytes)});
        return start_mouse(more, name);
    };
    auto passed_over_because = [&](const VirtualMouseProcess& mouse) {
        HidDeviceRecord record;
        std::string why;
        const std::string path = mouse.socket_path(1);
        EXPECT_FALSE(identify({hid::backend_for(path), path}, record, &why));
        EXPECT_FALSE(record.handle) << "a passed-over node is closed";
        return why;
    };

    const auto& foreign =
        descriptor_mouse("a-foreign", composite({&kKeyboardCollection, &kConsumerCollection}),
                         {"--vendor-id", "0x1234"});
    EXPECT_EQ(passed_over_because(foreign), "another vendor");
    const auto& no_usage = descriptor_mouse(
        "b-no-usage", composite({&kOtherVendorCollection, &kForeignPageCollection}, false));
    EXPECT_EQ(passed_over_because(no_usage), "not the configuration collection (usage)");
    EXPECT_EQ(Open_QX_device(), 0) << "neither node carries the mouse";

    // Two vendor collections of the mouse's page: only the second has usage 2.
    descriptor_mouse("c-second-vendor", composite({&kOtherVendorCollection}));
    ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(firmware_version(), 105) << "the commands reach the mouse";
}

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
    EXPECT_EQ(why, "no report descriptor") << "a file that is no hidraw node";

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
