// HID interfaces coming and going, as the system announces them: kernel hidraw nodes, and the
// interface files of virtual mice in the virtual-HID folder. One watch per operating system
// serves both the library's device monitor and the program's presence detection. It has no
// thread of its own: whoever owns a loop waits on its event source and then reads the changes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hid/hid_device.h"
#include "watch/device_change.h"

namespace talvoro::watch {

struct WatchOptions {
    bool system_interfaces = true;
    bool virtual_interfaces = true;
    // The folder of the system's HID nodes, as the HID layer opens them.
    std::string system_node_folder = "/dev";
    // Why a source could not be watched; may stay empty.
    std::function<void(const std::string&)> log;
};

class DeviceWatch {
  public:
    // Nothing when no source can be watched at all. Interfaces present at the start are not
    // announced, but their removal is.
    static std::unique_ptr<DeviceWatch> open(const WatchOptions& options);

    virtual ~DeviceWatch() = default;
    // Becomes ready when read_changes() has something to say.
    virtual hid::EventSource event_source() const = 0;
    // What the system said since the last call, oldest first; empty when nothing. A virtual
    // interface is asked for its ids here, which may take a moment.
    virtual std::vector<DeviceChange> read_changes() = 0;
};

}  // namespace talvoro::watch
