// The device watcher's thread on Linux: it polls the device watch and a wake-up eventfd.
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

#include "platform/device_watcher.h"
#include "render/debug_log.h"

namespace talvoro::platform {

class DeviceWatcher::Thread {
  public:
    using Deliver = std::function<void(std::vector<DeviceChange>)>;
    explicit Thread(Deliver deliver) : deliver_(std::move(deliver)) {}
    ~Thread() { stop(); }

    bool start() {
        watch::WatchOptions options;
        options.log = [](const std::string& text) { ui::debug_log("device watcher: " + text); };
        watch_ = watch::DeviceWatch::open(options);
        if (watch_ == nullptr) {
            return false;
        }
        wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wake_fd_ < 0) {
            watch_.reset();
            return false;
        }
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            stop();
            return false;
        }
        return true;
    }

    void stop() {
        if (thread_.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
            thread_.join();
        }
        if (wake_fd_ >= 0) {
            ::close(wake_fd_);
            wake_fd_ = -1;
        }
        watch_.reset();
    }

  private:
    void run() {
        pthread_setname_np(pthread_self(), "talvoro-devices");
        const int watch_fd = static_cast<int>(watch_->event_source().value);
        for (;;) {
            pollfd fds[] = {{wake_fd_, POLLIN, 0}, {watch_fd, POLLIN, 0}};
            if (::poll(fds, std::size(fds), -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return;
            }
            if (fds[0].revents != 0) {
                return;
            }
            if (fds[1].revents != 0) {
                std::vector<DeviceChange> found = watch_->read_changes();
                if (!found.empty()) {
                    deliver_(std::move(found));
                }
            }
        }
    }

    Deliver deliver_;
    std::unique_ptr<watch::DeviceWatch> watch_;
    std::thread thread_;
    int wake_fd_ = -1;
};

DeviceWatcher::DeviceWatcher(std::function<void()> notify) : notify_(std::move(notify)) {}

DeviceWatcher::~DeviceWatcher() {
    stop();
}

bool DeviceWatcher::start() {
    if (thread_ != nullptr) {
        return true;
    }
    auto thread = std::make_unique<Thread>([this](std::vector<DeviceChange> found) {
        {
            std::lock_guard lock(mutex_);
            changes_.insert(changes_.end(), std::make_move_iterator(found.begin()),
                            std::make_move_iterator(found.end()));
        }
        if (notify_) {
            notify_();
        }
    });
    if (!thread->start()) {
        return false;
    }
    thread_ = std::move(thread);
    return true;
}

void DeviceWatcher::stop() {
    thread_.reset();
}

std::vector<DeviceChange> DeviceWatcher::take_changes() {
    std::lock_guard lock(mutex_);
    return std::exchange(changes_, {});
}

}  // namespace talvoro::platform
