#include "platform/linux/logind_power.h"

#ifdef TALVORO_HAVE_SD_BUS
#include <systemd/sd-bus.h>
#include <time.h>
#endif

namespace talvoro {

#ifdef TALVORO_HAVE_SD_BUS
namespace {

class SdBusPower final : public LogindPower {
  public:
    SdBusPower(sd_bus* bus, std::function<void(bool)> on_sleep)
        : bus_(bus), on_sleep_(std::move(on_sleep)) {}
    ~SdBusPower() override {
        sd_bus_slot_unref(slot_);
        sd_bus_flush_close_unref(bus_);
    }

    bool subscribe() {
        return sd_bus_match_signal(bus_, &slot_, "org.freedesktop.login1",
                                   "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                   "PrepareForSleep", &SdBusPower::on_signal, this) >= 0;
    }

    int descriptor() const override { return sd_bus_get_fd(bus_); }
    short events() const override {
        const int events = sd_bus_get_events(bus_);
        return static_cast<short>(events > 0 ? events : 0);
    }
    Clock::time_point deadline() const override {
        uint64_t usec = 0;
        if (sd_bus_get_timeout(bus_, &usec) < 0 || usec == UINT64_MAX) {
            return Clock::time_point::max();
        }
        // sd-bus deadlines are on CLOCK_MONOTONIC, as steady_clock is here.
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const int64_t now_usec = int64_t{now.tv_sec} * 1000000 + now.tv_nsec / 1000;
        return Clock::now() + std::chrono::microseconds(static_cast<int64_t>(usec) - now_usec);
    }
    bool timed_out() const override { return deadline() <= Clock::now(); }
    void process() override {
        while (sd_bus_process(bus_, nullptr) > 0) {
        }
    }

  private:
    static int on_signal(sd_bus_message* message, void* self, sd_bus_error*) {
        int suspending = 0;
        if (sd_bus_message_read(message, "b", &suspending) >= 0) {
            static_cast<SdBusPower*>(self)->on_sleep_(suspending != 0);
        }
        return 0;
    }

    sd_bus* bus_;
    sd_bus_slot* slot_ = nullptr;
    std::function<void(bool)> on_sleep_;
};

}  // namespace

std::unique_ptr<LogindPower> LogindPower::connect(std::function<void(bool)> on_sleep) {
    sd_bus* bus = nullptr;
    if (sd_bus_open_system(&bus) < 0)
        return nullptr;
    auto power = std::make_unique<SdBusPower>(bus, std::move(on_sleep));
    if (!power->subscribe())
        return nullptr;
    return power;
}

#else

std::unique_ptr<LogindPower> LogindPower::connect(std::function<void(bool)>) {
    return nullptr;
}

#endif

}  // namespace talvoro
