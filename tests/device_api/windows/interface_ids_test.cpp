#include <gtest/gtest.h>

#include "watch/windows/interface_ids.h"

namespace talvoro::watch {
namespace {

TEST(InterfaceIds, ReadFromUsbAndBluetoothPathsOnly) {
    const struct {
        const char* path;
        bool named;
        uint16_t vendor;
        uint16_t product;
    } cases[] = {
        {R"(\\?\HID#VID_1209&PID_0001&MI_01#7&2a1b3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})",
         true, 0x1209, 0x0001},
        {R"(\\?\hid#vid_046d&pid_c077#6&1f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})", true,
         0x046D, 0xC077},
        // Bluetooth: a source prefix before the vendor's four digits.
        {R"(\\?\HID#{00001124-0000-1000-8000-00805f9b34fb}_VID&0002046d_PID&b01e&Col01#8&1&0)",
         true, 0x046D, 0xB01E},
        {R"(\\?\HID#{00001812-0000-1000-8000-00805f9b34fb}_Dev_VID&02046d_PID&b023_REV&0007)", true,
         0x046D, 0xB023},
        // No product, digits too few or too many after '_', or not hex: no ids.
        {R"(\\?\HID#VID_1209&MI_01#7&0)", false, 0, 0},
        {R"(\\?\HID#VID_120&PID_0001#7&0)", false, 0, 0},
        {R"(\\?\HID#VID_12090&PID_0001#7&0)", false, 0, 0},
        {R"(\\?\HID#VID_12G9&PID_0001#7&0)", false, 0, 0},
        {R"(\\?\HID#ConvertedDevice&Col01#5&0)", false, 0, 0},
        {"", false, 0, 0},
        {"VID_", false, 0, 0},
    };
    for (const auto& c : cases) {
        const auto ids = interface_ids_from_path(c.path);
        ASSERT_EQ(ids.has_value(), c.named) << c.path;
        if (ids) {
            EXPECT_EQ(ids->vendor, c.vendor) << c.path;
            EXPECT_EQ(ids->product, c.product) << c.path;
        }
    }
}

}  // namespace
}  // namespace talvoro::watch
