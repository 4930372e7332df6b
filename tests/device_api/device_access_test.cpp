// Finding and opening the configuration interface through the real socket
// transport of virtual mice, and the feature-report calls around it.
#include <cstring>

#include "composite_descriptors.h"
#include "feature_device.h"
#include "library_fixture.h"
#include "process_handles.h"
#include "profile_image.h"
#include "protocol.h"

namespace talvoro::test {
namespace {

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
    // A first round brings in what the process keeps for good.
    ASSERT_EQ(Open_QX_device(), 1);
    Close_QX_device();
    const int idle = open_handle_count();
    ASSERT_EQ(Open_QX_device(), 1);
    const int held = open_handle_count();
    EXPECT_GT(held, idle);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(Open_QX_device(), 1);
    EXPECT_EQ(open_handle_count(), held);
    Close_QX_device();
    EXPECT_EQ(open_handle_count(), idle);
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

}  // namespace
}  // namespace talvoro::test
