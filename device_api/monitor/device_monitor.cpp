// The device monitor: tracks every Talvoro configuration interface present,
// numbers them, and tells the client of each one found and each one gone.
// Its thread (MonitorLoop) stands in for a hidden window: arrivals, removals
// and power events reach it there, and every message to the client is posted
// from there, never from the client's own thread.
#include "monitor/device_monitor.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <list>
#include <memory>
#include <mutex>

#include "debug_output.h"
#include "feature_device.h"
#include "monitor/monitor_loop.h"

namespace talvoro {
namespace {

constexpr auto kStartTimeout = std::chrono::milliseconds(2000);
constexpr uint32_t kFoundOrAttached = 1;
constexpr uint32_t kRemoved = 0;

// One tracked interface.
struct DeviceNode {
    uint64_t id = 0;         // the loop's watch id
    uint16_t number = 0;     // what the client is told
    HidDeviceRecord record;  // open handle, capabilities, report buffers
};

class DeviceMonitor final : public MonitorLoop::Handler {
  public:
    // The library's unload (or the process's exit) destroys the monitor:
    // its thread is stopped while the library's code is still there.
    ~DeviceMonitor() override { unload(); }

    int open(const TalvoroMessageSink* client, uint32_t reserved, uint32_t message);
    int close();
    void unload();

    void set_platform_id(int id) { platform_id_ = id; }
    void inject_power_event(uint32_t event);
    void barrier();
    bool running() {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        return loop_ != nullptr;
    }

    // MonitorLoop::Handler, on the loop's thread.
    bool on_interface_arrival(const std::string& path) override;
    void on_device_event(uint64_t id) override;
    void on_power_event(uint32_t event) override;

  private:
    bool start();
    void enumerate();
    bool track(std::unique_ptr<HidDeviceRecord> record);
    void post(uint32_t wparam, uint16_t number);
    void remove_node(std::unique_ptr<DeviceNode> node, bool announce);
    void remove_all_nodes();
    uint16_t lowest_free_number() const;

    std::recursive_mutex mutex_;  // the node list and the saved arguments
    std::unique_ptr<MonitorLoop> loop_;
    std::list<std::unique_ptr<DeviceNode>> nodes_;
    TalvoroMessageSink client_{};
    uint32_t reserved_ = 0;
    uint32_t message_ = 0;
    uint64_t next_id_ = 1;
    std::atomic<int> platform_id_{kPlatformNt};
    bool suspended_ = false;
    bool resuming_ = false;
    bool silent_removal_ = false;
};

DeviceMonitor& monitor() {
    static DeviceMonitor instance;
    return instance;
}

int DeviceMonitor::open(const TalvoroMessageSink* client, uint32_t reserved, uint32_t message) {
    std::unique_lock<std::recursive_mutex> lock(mutex_);
    client_ = client != nullptr ? *client : TalvoroMessageSink{};
    reserved_ = reserved;
    message_ = message;
    const bool running = loop_ != nullptr;
    if (platform_id_ == kPlatformNt) {
        if (running)
            return 1;
    } else if (platform_id_ != kPlatformWindows95 || resuming_ || running) {
        enumerate();
        return 1;
    }
    lock.unlock();
    if (!start())
        return 0;
    lock.lock();
    enumerate();
    return 1;
}

bool DeviceMonitor::start() {
    auto loop = MonitorLoop::create();
    switch (loop->start(*this, kStartTimeout)) {
        case MonitorLoop::StartResult::kReady:
            break;
        case MonitorLoop::StartResult::kTimedOut:
            debug_output("device monitor: its thread did not come up in time\n");
            return false;
        default:
            debug_output("device monitor: cannot watch for device arrivals\n");
            return false;
    }
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    loop_ = std::move(loop);
    return true;
}

void DeviceMonitor::enumerate() {
    // Held while walking, so an arrival on the loop thread waits its turn.
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    talvoro::enumerate(EnumerateMode::kMonitor, [this](std::unique_ptr<HidDeviceRecord> record) {
        return track(std::move(record));
    });
}

bool DeviceMonitor::track(std::unique_ptr<HidDeviceRecord> record) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!loop_ || !record->handle ||
        record->handle->event_source().kind == hid::EventSource::Kind::kNone)
        return false;
    auto node = std::make_unique<DeviceNode>();
    node->id = next_id_++;
    // A device whose removal cannot be watched is not tracked.
    if (!loop_->watch(node->id, record->handle->event_source()))
        return false;
    node->number = lowest_free_number();
    node->record = std::move(*record);
    post(kFoundOrAttached, node->number);
    nodes_.push_back(std::move(node));
    return true;
}

uint16_t DeviceMonitor::lowest_free_number() const {
    // Two tracked mice never share a number; with one mouse, numbering
    // starts again at 1 after each removal.
    for (uint16_t number = 1;; ++number) {
        const bool taken = std::any_of(nodes_.begin(), nodes_.end(), [number](const auto& node) {
            return node->number == number;
        });
        if (!taken)
            return number;
    }
}

void DeviceMonitor::post(uint32_t wparam, uint16_t number) {
    // Caller holds mutex_. The message leaves from the loop's thread.
    if (!loop_ || client_.post == nullptr)
        return;
    const TalvoroMessageSink client = client_;
    const uint32_t message = message_;
    loop_->run_on_thread([client, message, wparam, number] {
        client.post(client.context, message, wparam, static_cast<intptr_t>(number));
    });
}

void DeviceMonitor::remove_node(std::unique_ptr<DeviceNode> node, bool announce) {
    // Caller holds mutex_.
    if (loop_)
        loop_->unwatch(node->id);
    if (announce)
        post(kRemoved, node->number);
    node->record.release();
}

void DeviceMonitor::remove_all_nodes() {
    // Caller holds mutex_. The silent-removal flag silences one removal only.
    while (!nodes_.empty()) {
        auto node = std::move(nodes_.front());
        nodes_.pop_front();
        const bool announce = !silent_removal_;
        silent_removal_ = false;
        remove_node(std::move(node), announce);
    }
}

int DeviceMonitor::close() {
    std::unique_ptr<MonitorLoop> loop;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (loop_)
            remove_all_nodes();
        loop = std::move(loop_);
    }
    // The removal messages are posted before the thread ends.
    if (loop)
        loop->stop();
    return 1;
}

void DeviceMonitor::unload() {
    std::unique_ptr<MonitorLoop> loop;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        loop = std::move(loop_);
        for (auto& node : nodes_)
            node->record.release();
        nodes_.clear();
    }
    if (loop)
        loop->stop();
}

bool DeviceMonitor::on_interface_arrival(const std::string& path) {
    debug_output("DBT_DEVICEARRIVAL.\n");
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (suspended_)
        return true;  // ignored, and not to be retried
    hid::HidBackend* backend = hid::backend_for(path);
    if (backend == nullptr)
        return false;
    // Announced twice (by the system and by the walk of Open_DevMonitor, or a
    // watch that saw the folder change again): tracked once.
    if (std::any_of(nodes_.begin(), nodes_.end(),
                    [&path](const auto& node) { return node->record.path == path; })) {
        return true;
    }
    auto record = std::make_unique<HidDeviceRecord>();
    if (!open_by_path({backend, path}, *record, EnumerateMode::kMonitor))
        return false;
    const bool tracked = track(std::move(record));
    if (tracked)
        debug_output("DBT_DEVICEARRIVAL finished.\n");
    return tracked;
}

void DeviceMonitor::on_device_event(uint64_t id) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    const auto found = std::find_if(nodes_.begin(), nodes_.end(),
                                    [id](const auto& node) { return node->id == id; });
    if (found == nodes_.end())
        return;
    DeviceNode& node = **found;
    if (node.record.handle->service_events(node.record.input_report))
        return;
    debug_output("DBT_DEVICEREMOVECOMPLETE\n");
    auto gone = std::move(*found);
    nodes_.erase(found);
    remove_node(std::move(gone), true);
    debug_output("DBT_DEVICEREMOVECOMPLETE finished\n");
}

void DeviceMonitor::on_power_event(uint32_t event) {
    switch (event) {
        case kPowerSuspend: {
            std::lock_guard<std::recursive_mutex> lock(mutex_);
            suspended_ = true;
            if (platform_id_ != kPlatformNt && loop_) {
                silent_removal_ = true;
                remove_all_nodes();
            }
            break;
        }
        case kPowerQuerySuspendFailed:
        case kPowerResumeCritical:
        case kPowerResumeSuspend:
        case kPowerResumeAutomatic: {
            TalvoroMessageSink client;
            uint32_t reserved;
            uint32_t message;
            {
                std::lock_guard<std::recursive_mutex> lock(mutex_);
                resuming_ = true;
                suspended_ = false;
                client = client_;
                reserved = reserved_;
                message = message_;
            }
            open(&client, reserved, message);
            std::lock_guard<std::recursive_mutex> lock(mutex_);
            resuming_ = false;
            break;
        }
        default:
            break;
    }
}

void DeviceMonitor::barrier() {
    std::promise<void> done;
    {
        std::lock_guard<std::recursive_mutex> lock(mutex_);
        if (!loop_)
            return;
        // Two hops: the loop handles waiting events after its tasks, so the
        // second task runs only after a whole pass over them.
        MonitorLoop* loop = loop_.get();
        loop->run_on_thread([loop, &done] { loop->run_on_thread([&done] { done.set_value(); }); });
    }
    done.get_future().wait();
}

void DeviceMonitor::inject_power_event(uint32_t event) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (loop_)
        loop_->run_on_thread([this, event] { on_power_event(event); });
}

}  // namespace

void set_monitor_platform_id(int platform_id) {
    monitor().set_platform_id(platform_id);
}

void inject_monitor_power_event(uint32_t event) {
    monitor().inject_power_event(event);
}

bool monitor_running() {
    return monitor().running();
}

void monitor_barrier() {
    monitor().barrier();
}

}  // namespace talvoro

extern "C" {

int Open_DevMonitor(const TalvoroMessageSink* client_window, uint32_t reserved,
                    uint32_t client_message) {
    return talvoro::monitor().open(client_window, reserved, client_message);
}

int Close_DevMonitor(void) {
    return talvoro::monitor().close();
}

}  // extern "C"
