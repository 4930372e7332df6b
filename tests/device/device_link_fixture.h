// A device link over the library's own functions talking to virtual mice
// through the real socket transport, with every wait replaced so the tests
// run at full speed (the mice answer at once).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "codec_test_support.h"
#include "device/desktop_mouse_settings.h"
#include "device/device_events.h"
#include "device/device_link.h"
#include "device/presence_monitor.h"
#include "device/profile_exchange.h"
#include "support/direct_device_api.h"
#include "support/fake_desktop.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "watch/device_change.h"

namespace talvoro::test {

// What the device layer reported.
class RecordingEvents final : public DeviceEvents {
  public:
    void on_device_event(const DeviceEvent& event) override {
        using Kind = DeviceEvent::Kind;
        switch (event.kind) {
            case Kind::kExchangeStarting:
                ++paints;
                break;
            case Kind::kExchangeProgress:
                progress.push_back({event.step, event.number});
                break;
            case Kind::kExchangeEnded:
                progress.push_back({std::nullopt, 0});
                break;
            case Kind::kProfilesChanged:
                shown.push_back(event.number);
                break;
            case Kind::kRefreshDone:
                refreshes.push_back(event.ok);
                break;
            case Kind::kMouseLost:
                ++not_detected;
                break;
            case Kind::kMouseBack:
                ++notices_closed;
                break;
        }
    }
    int read_failures() const {
        return static_cast<int>(std::count(refreshes.begin(), refreshes.end(), false));
    }

    struct Progress {
        std::optional<ExchangeStep> step;  // none: the exchange was over
        int profile = 0;
        bool operator==(const Progress&) const = default;
    };
    std::vector<int> shown;
    std::vector<Progress> progress;
    std::vector<bool> refreshes;  // each refresh, and whether the mouse could be read
    int paints = 0;
    int not_detected = 0;
    int notices_closed = 0;
};

// The waits the link asked for since the last clear.
std::vector<std::chrono::milliseconds>& link_waits();

// What the device watch says when the mouse's interface `mi` arrives or leaves.
watch::DeviceChange mouse_change(watch::ChangeKind kind, int mi);

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
    RecordingEvents ui_;
    DeviceLink link_;
    ProfileExchange exchange_;
    PresenceMonitor presence_;
    std::vector<std::unique_ptr<VirtualMouseProcess>> mice_;
};

}  // namespace talvoro::test
