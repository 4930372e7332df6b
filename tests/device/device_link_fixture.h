// A device link over the library's own functions talking to virtual mice
// through the real socket transport, with every wait replaced so the tests
// run at full speed (the mice answer at once).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codec_test_support.h"
#include "device/desktop_mouse_settings.h"
#include "device/device_link.h"
#include "device/device_link_ui.h"
#include "device/presence_monitor.h"
#include "device/profile_exchange.h"
#include "support/direct_device_api.h"
#include "support/fake_desktop.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {

// What the device link asked of the window.
class RecordingUi final : public DeviceLinkUi {
  public:
    void show_profile(int slot) override { shown.push_back(slot); }
    void paint_now() override { ++paints; }
    void show_not_detected() override { ++not_detected; }
    void close_notice_popups() override { ++notices_closed; }
    void rebuild_macro_list() override { ++macro_lists; }
    void reselect_page_profile() override { ++reselections; }
    bool select_led_option() override { return has_led_option; }
    void apply_language_layout() override { ++layouts; }
    void read_failed() override { ++read_failures; }
    void exchange_progress(ExchangeStep step, int profile) override {
        progress.push_back({step, profile});
    }
    void exchange_done() override { progress.push_back({std::nullopt, 0}); }

    struct Progress {
        std::optional<ExchangeStep> step;  // none: the exchange was over
        int profile = 0;
        bool operator==(const Progress&) const = default;
    };
    std::vector<int> shown;
    std::vector<Progress> progress;
    int paints = 0;
    int not_detected = 0;
    int notices_closed = 0;
    int macro_lists = 0;
    int reselections = 0;
    int layouts = 0;
    int read_failures = 0;
    bool has_led_option = true;
};

// The waits the link asked for since the last clear.
std::vector<std::chrono::milliseconds>& link_waits();

// The interface name the device watcher gives the mouse's collection `mi`.
std::string mouse_interface_name(int mi);

class DeviceLinkTest : public ::testing::Test {
  protected:
    DeviceLinkTest();
    ~DeviceLinkTest() override;

    VirtualMouseProcess& start_mouse(std::vector<std::string> args = {},
                                     const std::string& name = "talvoro");

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path()};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    std::unique_ptr<ProfileStore> store_ = zeroed_store();
    FakeDesktop desktop_;
    RecordingUi ui_;
    DeviceLink link_;
    ProfileExchange exchange_;
    PresenceMonitor presence_;
    std::vector<std::unique_ptr<VirtualMouseProcess>> mice_;
};

}  // namespace talvoro::test
