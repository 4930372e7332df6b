#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "watch/linux/uevent.h"

namespace talvoro::watch {
namespace {

// A kernel datagram: the header, then the fields, each NUL-terminated.
std::vector<uint8_t> datagram(const std::vector<std::string>& fields) {
    std::vector<uint8_t> bytes;
    for (const std::string& field : fields) {
        bytes.insert(bytes.end(), field.begin(), field.end());
        bytes.push_back(0);
    }
    return bytes;
}

const std::string kUsbPath =
    "/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.1/0003:1209:0001.0005/hidraw/hidraw3";

std::vector<uint8_t> hidraw_event(const std::string& action, const std::string& path = kUsbPath) {
    return datagram({action + "@" + path, "ACTION=" + action, "DEVPATH=" + path, "SUBSYSTEM=hidraw",
                     "DEVNAME=" + path.substr(path.rfind('/') + 1), "SEQNUM=4711", "MAJOR=241",
                     "MINOR=3"});
}

std::optional<DeviceChange> change_of(const std::vector<uint8_t>& bytes) {
    const auto event = parse_uevent(bytes);
    return event ? hidraw_change(*event, "/dev") : std::nullopt;
}

TEST(HidrawUevent, ParsesTheFieldsOfAKernelDatagram) {
    const auto event = parse_uevent(hidraw_event("add"));
    ASSERT_TRUE(event);
    EXPECT_EQ(event->action, "add");
    EXPECT_EQ(event->devpath, kUsbPath);
    EXPECT_EQ(event->subsystem, "hidraw");
    EXPECT_EQ(event->devname, "hidraw3");
}

TEST(HidrawUevent, AddAndRemoveNameTheNodeWithTheIdsOfItsHidDevice) {
    const auto arrival = change_of(hidraw_event("add"));
    ASSERT_TRUE(arrival);
    EXPECT_EQ(*arrival, (DeviceChange{ChangeKind::kArrived, InterfaceOrigin::kSystem, 0x1209,
                                      0x0001, "/dev/hidraw3"}));
    const auto removal = change_of(hidraw_event("remove"));
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->kind, ChangeKind::kRemoved);
    EXPECT_EQ(removal->path, arrival->path);
    EXPECT_EQ(removal->vendor, arrival->vendor);

    // The folder is the one the HID layer opens nodes in.
    const auto event = parse_uevent(hidraw_event("add"));
    ASSERT_TRUE(event);
    EXPECT_EQ(hidraw_change(*event, "/tmp/nodes")->path, "/tmp/nodes/hidraw3");
}

TEST(HidrawUevent, TheIdsComeFromTheNearestHidDeviceOnAnyBus) {
    const struct {
        const char* devpath;
        uint16_t vendor;
        uint16_t product;
    } cases[] = {
        // Lower-case hex, as the kernel may write it.
        {"/devices/usb1/1-1/1-1:1.0/0003:046D:c52b.000A/hidraw/hidraw0", 0x046D, 0xC52B},
        // Bluetooth: the parent is the host's connection, not a USB interface.
        {"/devices/virtual/misc/uhid/hci0:256/0005:1209:0001.0007/hidraw/hidraw4", 0x1209, 0x0001},
        // I2C, right under a PCI function.
        {"/devices/pci0000:00/0000:00:15.0/0018:1209:0002.0008/hidraw/hidraw5", 0x1209, 0x0002},
    };
    for (const auto& c : cases) {
        const auto change = change_of(hidraw_event("add", c.devpath));
        ASSERT_TRUE(change) << c.devpath;
        EXPECT_EQ(change->vendor, c.vendor) << c.devpath;
        EXPECT_EQ(change->product, c.product) << c.devpath;
    }
}

TEST(HidrawUevent, OtherSubsystemsAndActionsAreIgnored) {
    auto input =
        datagram({"add@" + kUsbPath, "ACTION=add", "DEVPATH=" + kUsbPath, "SUBSYSTEM=input"});
    EXPECT_FALSE(change_of(input));
    EXPECT_FALSE(change_of(hidraw_event("bind")));
    EXPECT_FALSE(change_of(hidraw_event("change")));
    // A hidraw node whose path has no HID device in it.
    EXPECT_FALSE(change_of(hidraw_event("add", "/devices/virtual/hidraw/hidraw9")));
    // A node name that is not the one the path ends in.
    for (const char* devname : {"..", "hidraw/", "hidraw", "hidraw30"}) {
        EXPECT_FALSE(change_of(datagram({"add@" + kUsbPath, "ACTION=add", "DEVPATH=" + kUsbPath,
                                         "SUBSYSTEM=hidraw", std::string("DEVNAME=") + devname})))
            << devname;
    }
}

TEST(HidrawUevent, MalformedDatagramsAreRefused) {
    EXPECT_FALSE(parse_uevent({}));
    // udev's own datagrams start with "libudev".
    EXPECT_FALSE(parse_uevent(datagram({"libudev", "ACTION=add", "DEVPATH=" + kUsbPath})));
    // No header, no action, no path.
    EXPECT_FALSE(parse_uevent(datagram({"ACTION=add", "DEVPATH=" + kUsbPath})));
    EXPECT_FALSE(parse_uevent(datagram({"add@" + kUsbPath, "DEVPATH=" + kUsbPath})));
    EXPECT_FALSE(parse_uevent(datagram({"add@" + kUsbPath, "ACTION=add"})));
    EXPECT_FALSE(parse_uevent(datagram({"add@" + kUsbPath, "ACTION=", "DEVPATH=" + kUsbPath})));
    // A header that disagrees with the fields.
    EXPECT_FALSE(parse_uevent(
        datagram({"remove@" + kUsbPath, "ACTION=add", "DEVPATH=" + kUsbPath, "SUBSYSTEM=hidraw"})));
    EXPECT_FALSE(parse_uevent(datagram(
        {"add@/devices/elsewhere", "ACTION=add", "DEVPATH=" + kUsbPath, "SUBSYSTEM=hidraw"})));
}

TEST(HidrawUevent, AnUnterminatedLastFieldIsStillRead) {
    const std::string last = "SUBSYSTEM=hidraw";
    std::vector<uint8_t> bytes = datagram({"add@" + kUsbPath, "ACTION=add", "DEVPATH=" + kUsbPath});
    bytes.insert(bytes.end(), last.begin(), last.end());
    const auto change = change_of(bytes);
    ASSERT_TRUE(change);
    EXPECT_EQ(change->kind, ChangeKind::kArrived);
}

TEST(HidrawUevent, EveryTruncationIsEitherRefusedOrReadAsFarAsItGoes) {
    const std::vector<uint8_t> whole = hidraw_event("remove");
    const auto expected = change_of(whole);
    ASSERT_TRUE(expected);
    for (size_t size = 0; size < whole.size(); ++size) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
        const auto change = change_of(cut);
        // Cut inside the path the name changes or goes; it never becomes another device.
        if (change) {
            EXPECT_EQ(change->kind, ChangeKind::kRemoved) << size;
            EXPECT_EQ(*change, *expected) << "cut at " << size;
        }
    }
}

TEST(HidrawUevent, RandomBytesNeverCrashTheParser) {
    std::mt19937 random(1234);
    const std::vector<uint8_t> valid = hidraw_event("add");
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes = valid;
        const int flips = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < flips; ++i) {
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        }
        bytes.resize(random() % (bytes.size() + 1));
        if (const auto change = change_of(bytes)) {
            // Whatever comes out is a node right in the folder.
            EXPECT_TRUE(change->path.starts_with("/dev/")) << change->path;
            EXPECT_EQ(change->path.find('/', 5), std::string::npos) << change->path;
            EXPECT_NE(change->path, "/dev/..");
        }
    }
}

TEST(HidDeviceName, ReadsBusVendorProductAndInstance) {
    const auto name = parse_hid_device_name("0003:1209:0001.0005");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->bus, 0x0003);
    EXPECT_EQ(name->vendor, 0x1209);
    EXPECT_EQ(name->product, 0x0001);
    EXPECT_EQ(name->instance, "0005");
    EXPECT_FALSE(parse_hid_device_name("0003:1209:0001"));
    EXPECT_FALSE(parse_hid_device_name("0003:12G9:0001.0005"));
    EXPECT_FALSE(parse_hid_device_name("0003-1209-0001.0005"));
    EXPECT_FALSE(parse_hid_device_name("0003:1209:0001."));
    EXPECT_FALSE(parse_hid_device_name("1-2:1.1"));
}

}  // namespace
}  // namespace talvoro::watch
