#include "platform/device_watcher.h"

#include <iterator>
#include <utility>

namespace talvoro::platform {

DeviceWatcher::DeviceWatcher(std::function<void()> notify) : notify_(std::move(notify)) {}

DeviceWatcher::~DeviceWatcher() {
    stop();
}

bool DeviceWatcher::start() {
    if (thread_ != nullptr) {
        return true;
    }
    thread_ = start_watch_thread([this](std::vector<DeviceChange> found) {
        {
            std::lock_guard lock(mutex_);
            changes_.insert(changes_.end(), std::make_move_iterator(found.begin()),
                            std::make_move_iterator(found.end()));
        }
        if (notify_) {
            notify_();
        }
    });
    return thread_ != nullptr;
}

void DeviceWatcher::stop() {
    thread_.reset();
}

std::vector<DeviceChange> DeviceWatcher::take_changes() {
    std::lock_guard lock(mutex_);
    return std::exchange(changes_, {});
}

}  // namespace talvoro::platform
