// The thread that runs the device watch for the program, one per operating system: it waits on
// the watch and hands what it reads to `deliver`, on that thread.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "watch/device_change.h"

namespace talvoro::platform {

class WatchThread {
  public:
    virtual ~WatchThread() = default;  // stops the thread and waits for it
};

using DeliverChanges = std::function<void(std::vector<watch::DeviceChange>)>;

// Null when nothing at all can be watched or no thread can be started.
std::unique_ptr<WatchThread> start_watch_thread(DeliverChanges deliver);

}  // namespace talvoro::platform
