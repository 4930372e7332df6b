// The hid.dll backend where there is no Talvoro mouse (Wine has none): the
// walk over the HID class ends cleanly, paths that are not there fail to open
// with a reason, and repeated walks and opens leave no handle behind.
#include <gtest/gtest.h>

#include "feature_device.h"
#include "hid/hid_device.h"
#include "process_handles.h"
#include "support/temp_folder.h"
#include "talvoro_api.h"

namespace talvoro::test {
namespace {

// A HID interface path in the form the system gives, of a device that is not
// attached.
constexpr const char* kAbsentInterface =
    "\\\\?\\HID#VID_1209&PID_0001&MI_01#7&1a2b3c4d&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

TEST(WindowsHidBackend, ClaimsTheHidClassPathsOnly) {
    hid::HidBackend& backend = hid::system_backend();
    EXPECT_STREQ(backend.name(), "hid");
    EXPECT_TRUE(backend.claims(kAbsentInterface));
    EXPECT_TRUE(backend.claims(
        "\\\\?\\hid#vid_1209&pid_0001&mi_00#8&2&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}"));
    EXPECT_FALSE(backend.claims("\\\\?\\HID#"));
    EXPECT_FALSE(backend.claims("\\\\?\\USB#VID_1209&PID_0001#5&0&0#{a5dcbf10-6530-11d2-901f}"));
    EXPECT_FALSE(backend.claims("C:\\talvoro-hid\\talvoro-1.hid"));
    EXPECT_FALSE(backend.claims(""));
}

TEST(WindowsHidBackend, WalksAndOpensLeaveNoHandleBehind) {
    ScopedEnv backends("TALVORO_HID_BACKENDS", "hid");
    hid::HidBackend& backend = hid::system_backend();
    std::vector<std::string> paths;
    backend.list(paths);  // the first walk loads what SetupAPI keeps for good
    Open_QX_device();
    const int before = open_handle_count();
    ASSERT_GT(before, 0);
    for (int round = 0; round < 20; ++round) {
        paths.clear();
        backend.list(paths);
        for (const std::string& path : paths) {
            EXPECT_TRUE(backend.claims(path)) << path;
            std::string why;
            auto handle = backend.open(path, why);
            EXPECT_TRUE(handle != nullptr || !why.empty()) << path;
        }
        std::string why;
        EXPECT_EQ(backend.open(kAbsentInterface, why), nullptr);
        EXPECT_EQ(Open_QX_device(), 0) << "no Talvoro mouse here";
        EXPECT_EQ(Close_QX_device(), 1);
    }
    EXPECT_EQ(open_handle_count(), before);
}

TEST(WindowsHidBackend, AnAbsentInterfaceFailsWithItsReason) {
    hid::HidBackend& backend = hid::system_backend();
    std::string why;
    EXPECT_EQ(backend.open(kAbsentInterface, why), nullptr);
    EXPECT_EQ(why, "no such device");
    why.clear();
    EXPECT_EQ(backend.open("", why), nullptr);
    EXPECT_FALSE(why.empty());

    // Identification says the same, and leaves the record released.
    HidDeviceRecord record;
    EXPECT_FALSE(identify({&backend, kAbsentInterface}, record, &why));
    EXPECT_EQ(why, "cannot open: no such device");
    EXPECT_EQ(record.handle, nullptr);
    EXPECT_EQ(record.path, kAbsentInterface);
}

}  // namespace
}  // namespace talvoro::test
