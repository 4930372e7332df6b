// systemd-logind's PrepareForSleep signal on the system bus: the machine is
// about to suspend (true) or has resumed (false).
#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace talvoro {

class LogindPower {
  public:
    using Clock = std::chrono::steady_clock;

    // Subscribes to the signal; null when there is no system bus (or the
    // library was built without sd-bus), and the monitor then sees no power
    // events.
    static std::unique_ptr<LogindPower> connect(std::function<void(bool suspending)> on_sleep);
    virtual ~LogindPower() = default;

    // What the owner's poll loop waits on.
    virtual int descriptor() const = 0;
    virtual short events() const = 0;
    virtual Clock::time_point deadline() const = 0;
    virtual bool timed_out() const = 0;
    // Handles whatever the bus has; the callback runs from here.
    virtual void process() = 0;
};

}  // namespace talvoro
