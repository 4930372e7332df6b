// The library's virtual backend against the real program over the system's transport: what a
// host learns of a mouse from the folder and from an open handle when the mouse is unplugged,
// plugged in again, or killed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "event_source_wait.h"
#include "hid/hid_device.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;

std::vector<std::string> listed() {
    std::vector<std::string> paths;
    hid::virtual_backend().list(paths);
    return paths;
}

std::unique_ptr<hid::HidHandle> open(const std::string& path, std::string* why = nullptr) {
    std::string reason;
    auto handle = hid::virtual_backend().open(path, reason);
    if (why != nullptr)
        *why = reason;
    return handle;
}

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(utf8_path(path), error));
}

// The status command on the configuration interface: a set the mouse acknowledges.
bool ask_status(hid::HidHandle& handle) {
    uint8_t report[64] = {0x60, 0x03};
    return handle.set_feature(report, sizeof report);
}

class VirtualTransportTest : public ::testing::Test {
  protected:
    TempFolder folder_;
    ScopedEnv dir_{"TALVORO_HID_DIR", folder_.path()};
};

TEST_F(VirtualTransportTest, UnplugBreaksAnOpenHandleAndPlugInBringsTheFilesBack) {
    VirtualMouseProcess mouse(folder_.path());
    const std::vector<std::string> both = {mouse.socket_path(0), mouse.socket_path(1)};
    EXPECT_EQ(listed(), both);

    auto handle = open(mouse.socket_path(1));
    ASSERT_TRUE(handle);
    hid::HidAttributes attributes;
    ASSERT_TRUE(handle->attributes(attributes));
    EXPECT_EQ(attributes.vendor_id, TALVORO_VENDOR_ID);
    EXPECT_EQ(attributes.product_id, TALVORO_PRODUCT_ID);
    const hid::EventSource source = handle->event_source();
    ASSERT_EQ(source.kind, hid::EventSource::Kind::kWaitable);
    std::vector<uint8_t> input;
    EXPECT_FALSE(wait_until_ready(source, milliseconds(100))) << "a quiet mouse is not an event";
    EXPECT_TRUE(handle->service_events(input));
    // Requests on a watched handle neither wake the watcher nor break the watch.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(ask_status(*handle));
    EXPECT_FALSE(wait_until_ready(source, milliseconds(50)));
    EXPECT_TRUE(handle->service_events(input));

    mouse.unplug();
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(wait_until_ready(source, milliseconds(2000))) << "the unplug reached the watcher";
    EXPECT_FALSE(handle->service_events(input));
    EXPECT_FALSE(ask_status(*handle));

    mouse.plug_in();
    EXPECT_EQ(listed(), both);
    auto again = open(mouse.socket_path(1));
    ASSERT_TRUE(again);
    EXPECT_TRUE(ask_status(*again));
    EXPECT_FALSE(handle->service_events(input)) << "an unplugged handle stays gone";
    EXPECT_EQ(mouse.stop(), 0);
    EXPECT_TRUE(wait_until_ready(again->event_source(), milliseconds(2000)));
    EXPECT_FALSE(again->service_events(input));
}

TEST_F(VirtualTransportTest, AKilledMousesFilesAreNoDeviceAndANewMouseReplacesThem) {
    auto mouse = std::make_unique<VirtualMouseProcess>(folder_.path());
    const std::string config = mouse->socket_path(1);
    auto handle = open(config);
    ASSERT_TRUE(handle);
    const hid::EventSource source = handle->event_source();
    mouse->kill();
    ASSERT_TRUE(exists(config)) << "a killed mouse cannot remove its files";
    EXPECT_TRUE(wait_until_ready(source, milliseconds(2000)));
    std::vector<uint8_t> input;
    EXPECT_FALSE(handle->service_events(input));

    const std::vector<std::string> paths = listed();
    const bool shown = std::find(paths.begin(), paths.end(), config) != paths.end();
    EXPECT_EQ(shown, lists_files_of_dead_mice());
    std::string why;
    EXPECT_FALSE(open(config, &why));
    EXPECT_FALSE(why.empty());

    // A new mouse under the same name takes the stale files over.
    mouse = std::make_unique<VirtualMouseProcess>(folder_.path());
    EXPECT_EQ(listed(), (std::vector<std::string>{mouse->socket_path(0), config}));
    auto fresh = open(config);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(ask_status(*fresh));
}

}  // namespace
}  // namespace talvoro::test
