// The device monitor's thread on Linux: one poll loop over the device watch (kernel hidraw
// nodes and the virtual-HID folder), the watched devices' own descriptors, systemd-logind's
// sleep signal and a wake-up eventfd.
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "debug_output.h"
#include "hid/hid_device.h"
#include "hid/hidraw/hidraw_backend.h"
#include "monitor/monitor_loop.h"
#include "platform/linux/logind_power.h"
#include "watch/device_watch.h"

namespace talvoro {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int64_t> g_start_delay_ms{0};
constexpr const char* kThreadName = "talvoro-monitor";

// udev needs a moment after the kernel announces a node to give it its
// owner and permissions, so a new hidraw node is tried at these delays.
constexpr std::chrono::milliseconds kHidrawAttempts[] = {std::chrono::milliseconds(300),
                                                         std::chrono::milliseconds(1500)};

class LinuxMonitorLoop final : public MonitorLoop {
  public:
    ~LinuxMonitorLoop() override { stop(); }

    StartResult start(Handler& handler, std::chrono::milliseconds timeout) override {
        handler_ = &handler;
        wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_fd_ < 0)
            return StartResult::kNoThread;
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            close_fd(wake_fd_);
            return StartResult::kNoThread;
        }
        std::unique_lock<std::mutex> lock(mutex_);
        if (!ready_changed_.wait_for(lock, timeout,
                                     [this] { return state_ != State::kStarting; })) {
            lock.unlock();
            stop();
            return StartResult::kTimedOut;
        }
        if (state_ == State::kNoArrivals) {
            lock.unlock();
            stop();
            return StartResult::kNoArrivals;
        }
        return StartResult::kReady;
    }

    bool watch(uint64_t id, const hid::EventSource& source) override {
        // Linux handles are descriptors, all of them polled.
        if (source.kind != hid::EventSource::Kind::kWaitable)
            return false;
        std::lock_guard<std::mutex> lock(mutex_);
        watched_[id] = static_cast<int>(source.value);
        wake();
        return true;
    }

    void unwatch(uint64_t id) override {
        std::lock_guard<std::mutex> lock(mutex_);
        watched_.erase(id);
        wake();
    }

    void run_on_thread(std::function<void()> task) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
        wake();
    }

    void stop() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            wake();
        }
        ready_changed_.notify_all();
        // Asked from the loop itself (a client calling back): it ends after
        // this task; whoever destroys the loop joins it.
        if (on_loop_thread())
            return;
        if (thread_.joinable())
            thread_.join();
        close_fd(wake_fd_);
    }

    bool on_loop_thread() const override { return std::this_thread::get_id() == thread_.get_id(); }

  private:
    enum class State { kStarting, kReady, kNoArrivals };

    struct PendingArrival {
        std::string path;
        size_t attempt;
        Clock::time_point due;
    };

    static void close_fd(int& fd) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

    // Caller holds mutex_.
    void wake() {
        if (wake_fd_ < 0)
            return;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
    }

    void run() {
        // Named, so it can be told apart in a debugger or in /proc.
        pthread_setname_np(pthread_self(), kThreadName);
        if (const auto delay = g_start_delay_ms.load(); delay > 0) {
            std::unique_lock<std::mutex> lock(mutex_);
            if (ready_changed_.wait_for(lock, std::chrono::milliseconds(delay),
                                        [this] { return stopping_; })) {
                return;
            }
        }
        const bool arrivals = open_sources();
        {
            std::lock_guard<std::mutex> lock(mutex_);
            state_ = arrivals ? State::kReady : State::kNoArrivals;
        }
        ready_changed_.notify_all();
        if (arrivals)
            loop();
        watch_.reset();
        power_.reset();
    }

    // The arrival sources of the enabled backends; true when at least one works.
    bool open_sources() {
        watch::WatchOptions options;
        options.system_interfaces = hid::backend_enabled("hidraw");
        options.virtual_interfaces = hid::backend_enabled("virtual");
        options.system_node_folder = hid::HidrawBackend::folder();
        options.log = [](const std::string& text) { debug_printf("%s\n", text.c_str()); };
        watch_ = watch::DeviceWatch::open(options);
        power_ = LogindPower::connect([this](bool suspending) {
            handler_->on_power_event(suspending ? kPowerSuspend : kPowerResumeAutomatic);
        });
        return watch_ != nullptr;
    }

    void loop() {
        std::vector<pollfd> fds;
        std::vector<uint64_t> ids;
        for (;;) {
            fds.clear();
            ids.clear();
            fds.push_back({wake_fd_, POLLIN, 0});
            fds.push_back({static_cast<int>(watch_->event_source().value), POLLIN, 0});
            fds.push_back({power_ ? power_->descriptor() : -1,
                           static_cast<short>(power_ ? power_->events() : 0), 0});
            {
                std::lock_guard<std::mutex> lock(mutex_);
                for (const auto& [id, fd] : watched_) {
                    fds.push_back({fd, POLLIN, 0});
                    ids.push_back(id);
                }
            }
            if (::poll(fds.data(), fds.size(), poll_timeout()) < 0 && errno != EINTR)
                return;

            // Arrivals first: a task handed over (a barrier, say) then runs after every
            // arrival that was already announced when it was queued.
            if ((fds[1].revents & POLLIN) != 0)
                take_arrivals();
            if ((fds[0].revents & POLLIN) != 0 && !run_tasks())
                return;
            if (fds[2].revents != 0 || (power_ && power_->timed_out()))
                power_->process();
            retry_pending();
            for (size_t i = 0; i < ids.size(); ++i) {
                if (fds[3 + i].revents != 0 && still_watched(ids[i])) {
                    handler_->on_device_event(ids[i]);
                }
            }
        }
    }

    bool still_watched(uint64_t id) {
        std::lock_guard<std::mutex> lock(mutex_);
        return watched_.count(id) != 0;
    }

    // Runs the tasks handed over; false once the loop is to end.
    bool run_tasks() {
        uint64_t count;
        [[maybe_unused]] const ssize_t got = ::read(wake_fd_, &count, sizeof count);
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (tasks_.empty())
                    return !stopping_;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    int poll_timeout() const {
        auto due = Clock::time_point::max();
        for (const PendingArrival& pending : pending_)
            due = std::min(due, pending.due);
        if (power_)
            due = std::min(due, power_->deadline());
        if (due == Clock::time_point::max())
            return -1;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
        return static_cast<int>(std::clamp<int64_t>(left + 1, 0, 60000));
    }

    // Removals reach the monitor through the watched devices themselves.
    void take_arrivals() {
        for (const watch::DeviceChange& change : watch_->read_changes()) {
            if (change.kind != watch::ChangeKind::kArrived)
                continue;
            if (change.origin == watch::InterfaceOrigin::kSystem) {
                pending_.push_back({change.path, 0, Clock::now() + kHidrawAttempts[0]});
            } else {
                handler_->on_interface_arrival(change.path);
            }
        }
    }

    void retry_pending() {
        const auto now = Clock::now();
        for (size_t i = 0; i < pending_.size();) {
            PendingArrival& pending = pending_[i];
            if (pending.due > now) {
                ++i;
                continue;
            }
            const bool taken = handler_->on_interface_arrival(pending.path);
            if (!taken && ++pending.attempt < std::size(kHidrawAttempts)) {
                pending.due = now + kHidrawAttempts[pending.attempt];
                ++i;
            } else {
                pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }

    Handler* handler_ = nullptr;
    std::thread thread_;
    int wake_fd_ = -1;
    std::unique_ptr<watch::DeviceWatch> watch_;
    std::unique_ptr<LogindPower> power_;
    std::vector<PendingArrival> pending_;  // loop thread only

    std::mutex mutex_;  // guards everything below
    std::condition_variable ready_changed_;
    State state_ = State::kStarting;
    bool stopping_ = false;
    std::map<uint64_t, int> watched_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace

std::unique_ptr<MonitorLoop> MonitorLoop::create() {
    return std::make_unique<LinuxMonitorLoop>();
}

void set_monitor_start_delay(std::chrono::milliseconds delay) {
    g_start_delay_ms = delay.count();
}

}  // namespace talvoro
