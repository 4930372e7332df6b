// Arrival and removal of HID interfaces, as the main window's device-change messages want them:
// event, device type and an interface name in the Windows form
// \\?\HID#VID_1209&PID_0001&MI_01#<instance>#{4d1e55b2-f16f-11cf-88cb-001111000030}, so that
// the path analysis of the device link reads it unchanged.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace talvoro::platform {

inline constexpr uint32_t kDeviceArrival = 0x8000;
inline constexpr uint32_t kDeviceRemoveComplete = 0x8004;
inline constexpr uint32_t kDeviceTypeInterface = 5;

struct DeviceChange {
    uint32_t event = 0;  // kDeviceArrival or kDeviceRemoveComplete
    uint32_t device_type = kDeviceTypeInterface;
    std::string interface_name;

    bool operator==(const DeviceChange&) const = default;
};

// Watches kernel hidraw nodes and the virtual-mouse folder on a thread of its own.
class DeviceWatcher {
  public:
    // `notify` is called from the watcher's own thread each time changes are queued.
    explicit DeviceWatcher(std::function<void()> notify);
    ~DeviceWatcher();  // stops and joins
    DeviceWatcher(const DeviceWatcher&) = delete;
    DeviceWatcher& operator=(const DeviceWatcher&) = delete;

    // False when nothing at all can be watched. Interfaces present before the call are not
    // announced, but their removal is.
    bool start();
    void stop();
    // Thread-safe; oldest first.
    std::vector<DeviceChange> take_changes();

  private:
    class Thread;
    std::function<void()> notify_;
    std::unique_ptr<Thread> thread_;
    std::mutex mutex_;
    std::vector<DeviceChange> changes_;
};

}  // namespace talvoro::platform
