// The device monitor's thread: it waits for HID interfaces to arrive, for
// watched devices to speak or go away, for power events, and for work handed
// to it. Each platform has its own loop behind this interface.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "hid/hid_device.h"

namespace talvoro {

// Power events, with the values the monitor's handling is written for.
enum PowerEvent : uint32_t {
    kPowerQuerySuspendFailed = 2,
    kPowerSuspend = 4,
    kPowerResumeCritical = 6,
    kPowerResumeSuspend = 7,
    kPowerResumeAutomatic = 18,
};

class MonitorLoop {
  public:
    // Called on the loop's thread.
    class Handler {
      public:
        virtual ~Handler() = default;
        // An interface appeared at `path`; true when it was taken on.
        virtual bool on_interface_arrival(const std::string& path) = 0;
        // The device watched under `id` is readable or has hung up.
        virtual void on_device_event(uint64_t id) = 0;
        virtual void on_power_event(uint32_t event) = 0;
    };

    enum class StartResult {
        kReady,       // the thread runs and watches for arrivals
        kNoArrivals,  // the thread came up but cannot watch for arrivals
        kTimedOut,    // the thread did not come up in time
        kNoThread,    // the thread could not be created
    };

    virtual ~MonitorLoop() = default;

    // Starts the thread and waits at most `timeout` for it to be ready.
    // Anything but kReady leaves no thread running.
    virtual StartResult start(Handler& handler, std::chrono::milliseconds timeout) = 0;
    // Watches `source` (owned by the caller) under `id`, or stops watching it. A loop takes the
    // kinds of source its platform's handles give; false when it cannot watch this one (the
    // system refused a removal notification), and then the device is not to be tracked.
    virtual bool watch(uint64_t id, const hid::EventSource& source) = 0;
    virtual void unwatch(uint64_t id) = 0;
    // Runs `task` on the loop's thread, after the tasks handed over before it.
    virtual void run_on_thread(std::function<void()> task) = 0;
    // Runs the tasks handed over so far, then ends the thread and waits for it.
    virtual void stop() = 0;
    virtual bool on_loop_thread() const = 0;

    static std::unique_ptr<MonitorLoop> create();
};

// For tests: make the thread take this long before it reports ready.
void set_monitor_start_delay(std::chrono::milliseconds delay);

}  // namespace talvoro
