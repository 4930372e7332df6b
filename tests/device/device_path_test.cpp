// Recognising the mouse's device-interface names among all the others.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "device/device_path.h"
#include "protocol.h"

namespace talvoro {
namespace {

std::string mouse_path(const char* format_of_ids, int interface_number) {
    char ids[64];
    std::snprintf(ids, sizeof ids, format_of_ids, protocol::kVendorId, protocol::kProductId,
                  interface_number);
    return std::string(R"(\\?\)") + ids +
           "#7&2a3b4c5d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
}

TEST(DevicePath, TheMouseInAnyCaseAndAnyCollection) {
    EXPECT_TRUE(names_the_mouse(mouse_path("HID#VID_%04X&PID_%04X&MI_%02d", 1)));
    EXPECT_TRUE(names_the_mouse(mouse_path("HID#VID_%04X&PID_%04X&MI_%02d", 0)))
        << "the pointer collection is the mouse too";
    EXPECT_TRUE(names_the_mouse(mouse_path("hid#vid_%04x&pid_%04x&mi_%02d", 1)))
        << "lower case is upper-cased before comparing";
}

TEST(DevicePath, OtherDevicesAreIgnored) {
    EXPECT_FALSE(names_the_mouse(
        R"(\\?\USBSTOR#Disk&Ven_Kingston&Prod_DataTraveler#0019E06B9C85#{53f56307-b6bf-11d0-94f2-00a0c91efb8b})"));
    EXPECT_FALSE(names_the_mouse(mouse_path("USB#VID_%04X&PID_%04X&MI_%02d", 1)))
        << "the USB device interface, not a HID collection";
    EXPECT_FALSE(
        names_the_mouse(R"(\\?\HID#VID_046D&PID_C077#7&1#{4d1e55b2-f16f-11cf-88cb-001111000030})"));
    char other[80];
    std::snprintf(other, sizeof other, "HID#VID_%04X&PID_%04X", protocol::kVendorId,
                  protocol::kProductId + 1);
    EXPECT_FALSE(names_the_mouse(std::string(R"(\\?\)") + other + "#1#{x}"));
    for (const char* junk : {"", "\\\\?", "\\\\?\\", "#", "HID#VID_", "\\\\?\\HID#VID_12#PID_"}) {
        EXPECT_FALSE(names_the_mouse(junk)) << junk;
    }
}

}  // namespace
}  // namespace talvoro
