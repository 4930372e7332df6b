#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "device/device_path.h"
#include "platform/hid_interface_name.h"
#include "platform/linux/hidraw_uevent.h"

namespace talvoro::platform {
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
                     "DEVNAME=hidraw3", "SEQNUM=4711", "MAJOR=241", "MINOR=3"});
}

std::optional<DeviceChange> change_of(const std::vector<uint8_t>& bytes) {
    const auto event = parse_uevent(bytes);
    return event ? hidraw_device_change(*event) : std::nullopt;
}

TEST(HidrawUevent, ParsesTheFieldsOfAKernelDatagram) {
    const auto event = parse_uevent(hidraw_event("add"));
    ASSERT_TRUE(event);
    EXPECT_EQ(event->action, "add");
    EXPECT_EQ(event->devpath, kUsbPath);
    EXPECT_EQ(event->subsystem, "hidraw");
    EXPECT_EQ(event->devname, "hidraw3");
}

TEST(HidrawUevent, AddAndRemoveNameTheInterfaceInTheWindowsForm) {
    const auto arrival = change_of(hidraw_event("add"));
    ASSERT_TRUE(arrival);
    EXPECT_EQ(arrival->event, kDeviceArrival);
    EXPECT_EQ(arrival->device_type, kDeviceTypeInterface);
    EXPECT_EQ(arrival->interface_name,
              "\\\\?\\HID#VID_1209&PID_0001&MI_01#0005#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    EXPECT_TRUE(names_the_mouse(arrival->interface_name));

    const auto removal = change_of(hidraw_event("remove"));
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->event, kDeviceRemoveComplete);
    EXPECT_EQ(removal->interface_name, arrival->interface_name);
}

TEST(HidrawUevent, IdsAreWrittenInUpperCaseWhateverTheKernelWrote) {
    const auto change = change_of(
        hidraw_event("add", "/devices/usb1/1-1/1-1:1.0/0003:046D:c52b.000A/hidraw/hidraw0"));
    ASSERT_TRUE(change);
    EXPECT_EQ(change->interface_name,
              "\\\\?\\HID#VID_046D&PID_C52B&MI_00#000A#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    EXPECT_FALSE(names_the_mouse(change->interface_name));
}

TEST(HidrawUevent, OnlyUsbDevicesHaveAnInterfaceNumber) {
    // Bluetooth: the parent is the host's connection, not a USB interface.
    const auto bluetooth = change_of(hidraw_event(
        "add", "/devices/virtual/misc/uhid/hci0:256/0005:1209:0001.0007/hidraw/hidraw4"));
    ASSERT_TRUE(bluetooth);
    EXPECT_EQ(bluetooth->interface_name,
              "\\\\?\\HID#VID_1209&PID_0001#0007#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    EXPECT_TRUE(names_the_mouse(bluetooth->interface_name));
    // An I2C device right under a PCI function "0000:00:15.0" has no interface 0.
    const auto i2c = change_of(
        hidraw_event("add", "/devices/pci0000:00/0000:00:15.0/0018:1209:0001.0008/hidraw/hidraw5"));
    ASSERT_TRUE(i2c);
    EXPECT_EQ(i2c->interface_name.find("MI_"), std::string::npos);
}

TEST(HidrawUevent, OtherSubsystemsAndActionsAreIgnored) {
    auto input =
        datagram({"add@" + kUsbPath, "ACTION=add", "DEVPATH=" + kUsbPath, "SUBSYSTEM=input"});
    EXPECT_FALSE(change_of(input));
    EXPECT_FALSE(change_of(hidraw_event("bind")));
    EXPECT_FALSE(change_of(hidraw_event("change")));
    // A hidraw node whose path has no HID device in it.
    EXPECT_FALSE(change_of(hidraw_event("add", "/devices/virtual/hidraw/hidraw9")));
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
    EXPECT_EQ(change->event, kDeviceArrival);
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
            EXPECT_EQ(change->event, kDeviceRemoveComplete) << size;
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
            // Whatever comes out is still a well-formed name.
            EXPECT_TRUE(change->interface_name.starts_with("\\\\?\\HID#VID_"));
            EXPECT_TRUE(
                change->interface_name.ends_with("#{4d1e55b2-f16f-11cf-88cb-001111000030}"));
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

TEST(HidInterfaceName, FieldsThatWouldEndEarlyAreReplaced) {
    const std::string name = hid_interface_name(0x1209, 0x0001, 2u, "a#b\\c\nd");
    EXPECT_EQ(name,
              "\\\\?\\HID#VID_1209&PID_0001&MI_02#a_b_c_d#{4d1e55b2-f16f-11cf-88cb-001111000030}");
    EXPECT_TRUE(names_the_mouse(name));
    EXPECT_EQ(hid_interface_name(0xABCD, 0x00EF, std::nullopt, "x"),
              "\\\\?\\HID#VID_ABCD&PID_00EF#x#{4d1e55b2-f16f-11cf-88cb-001111000030}");
}

}  // namespace
}  // namespace talvoro::platform
