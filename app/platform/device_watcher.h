// The program's presence detection: the system's device watch, run on a thread of its own so the
// window's loop never waits on it, handing typed changes (arrived or removed, vendor, product,
// interface path) to the window's thread.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/watch_thread.h"
#include "watch/device_change.h"

namespace talvoro::platform {

using watch::DeviceChange;

class DeviceWatcher {
  public:
    // `notify` is called from the watcher's own thread each time changes are queued.
    explicit DeviceWatcher(std::function<void()> notify);
    ~DeviceWatcher();  // stops and joins
    DeviceWatcher(const DeviceWatcher&) = delete;
    DeviceWatcher& operator=(const DeviceWatcher&) = delete;

    // False when nothing at all can be watched. Interfaces present before the call are not
    // announced, but their removal is.
    [[nodiscard]] bool start();
    void stop();
    // Thread-safe; oldest first.
    std::vector<DeviceChange> take_changes();

  private:
    std::function<void()> notify_;
    std::unique_ptr<WatchThread> thread_;
    std::mutex mutex_;
    std::vector<DeviceChange> changes_;
};

}  // namespace talvoro::platform
