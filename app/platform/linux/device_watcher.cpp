// The device watch's thread on Linux: it polls the watch and a wake-up eventfd.
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/watch_thread.h"
#include "render/debug_log.h"
#include "watch/device_watch.h"

namespace talvoro::platform {
namespace {

class LinuxWatchThread final : public WatchThread {
  public:
    explicit LinuxWatchThread(DeliverChanges deliver) : deliver_(std::move(deliver)) {}
    ~LinuxWatchThread() override {
        if (thread_.joinable()) {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t written = ::write(wake_fd_, &one, sizeof one);
            thread_.join();
        }
        if (wake_fd_ >= 0) {
            ::close(wake_fd_);
        }
    }

    bool start() {
        watch::WatchOptions options;
        options.log = [](const std::string& text) { ui::debug_log("device watcher: " + text); };
        watch_ = watch::DeviceWatch::open(options);
        wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (watch_ == nullptr || wake_fd_ < 0) {
            return false;
        }
        try {
            thread_ = std::thread([this] { run(); });
        } catch (const std::system_error&) {
            return false;
        }
        return true;
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
                std::vector<watch::DeviceChange> found = watch_->read_changes();
                if (!found.empty()) {
                    deliver_(std::move(found));
                }
            }
        }
    }

    DeliverChanges deliver_;
    std::unique_ptr<watch::DeviceWatch> watch_;
    std::thread thread_;
    int wake_fd_ = -1;
};

}  // namespace

std::unique_ptr<WatchThread> start_watch_thread(DeliverChanges deliver) {
    auto thread = std::make_unique<LinuxWatchThread>(std::move(deliver));
    if (!thread->start()) {
        return nullptr;
    }
    return thread;
}

}  // namespace talvoro::platform
