// The device watch's thread on Windows: it waits on the watch and a stop event.
#include <windows.h>

#include <utility>

#include "platform/watch_thread.h"
#include "platform/windows/windows_text.h"
#include "watch/device_watch.h"

namespace talvoro::platform {
namespace {

class WindowsWatchThread final : public WatchThread {
  public:
    explicit WindowsWatchThread(DeliverChanges deliver) : deliver_(std::move(deliver)) {}
    ~WindowsWatchThread() override {
        if (thread_ != nullptr) {
            SetEvent(stop_);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
        }
        if (stop_ != nullptr) {
            CloseHandle(stop_);
        }
    }

    bool start() {
        watch::WatchOptions options;
        options.log = [](const std::string& text) {
            OutputDebugStringW(windows::to_wide("device watcher: " + text + "\n").c_str());
        };
        watch_ = watch::DeviceWatch::open(options);
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (watch_ == nullptr || stop_ == nullptr) {
            return false;
        }
        thread_ = CreateThread(nullptr, 0, &run, this, 0, nullptr);
        return thread_ != nullptr;
    }

  private:
    static DWORD WINAPI run(void* context) {
        auto* self = static_cast<WindowsWatchThread*>(context);
        const HANDLE handles[] = {self->stop_,
                                  reinterpret_cast<HANDLE>(self->watch_->event_source().value)};
        for (;;) {
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                return 0;  // asked to stop, or the wait failed
            }
            std::vector<watch::DeviceChange> found = self->watch_->read_changes();
            if (!found.empty()) {
                self->deliver_(std::move(found));
            }
        }
    }

    DeliverChanges deliver_;
    std::unique_ptr<watch::DeviceWatch> watch_;
    HANDLE thread_ = nullptr;
    HANDLE stop_ = nullptr;  // manual reset
};

}  // namespace

std::unique_ptr<WatchThread> start_watch_thread(DeliverChanges deliver) {
    auto thread = std::make_unique<WindowsWatchThread>(std::move(deliver));
    if (!thread->start()) {
        return nullptr;
    }
    return thread;
}

}  // namespace talvoro::platform
