// The device monitor's thread on Windows. It owns the hidden window "Thread In
// DLL", which the system tells of the removal of each watched device (a handle
// notification) and of power events. The thread waits on that window's
// messages together with a wake-up event for work handed to it, the device
// watch (HID interfaces and virtual mice arriving) and the event handles of
// watched virtual mice.
#include <windows.h>
// After windows.h, whose types it uses.
#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "debug_output.h"
#include "hid/hid_device.h"
#include "monitor/monitor_loop.h"
#include "platform/windows/module_state.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/windows_text.h"
#include "watch/device_watch.h"

namespace talvoro {
namespace {

using Clock = std::chrono::steady_clock;
using windows::UniqueHandle;

std::atomic<int64_t> g_start_delay_ms{0};

constexpr wchar_t kThreadName[] = L"talvoro-monitor";
// Class and title of the hidden window, as clients that look for it expect.
constexpr wchar_t kWindowName[] = L"Thread In DLL";
// Private message of the hidden window: cancel the handle notification in
// lParam, after the message that asked for it.
constexpr UINT kCancelNotification = WM_USER + 501;
// A virtual mouse's file may appear a moment before it answers: an arrival
// that was not taken is offered again after these delays.
constexpr std::chrono::milliseconds kArrivalRetries[] = {std::chrono::milliseconds(100),
                                                         std::chrono::milliseconds(500),
                                                         std::chrono::milliseconds(1500)};
// MsgWaitForMultipleObjectsEx waits on at most this many handles besides the
// message queue; two are the wake-up event and the device watch.
constexpr size_t kMaxWaitHandles = MAXIMUM_WAIT_OBJECTS - 1;
constexpr size_t kMaxWatchedWaitables = kMaxWaitHandles - 2;

class WindowsMonitorLoop final : public MonitorLoop {
  public:
    ~WindowsMonitorLoop() override { stop(); }

    StartResult start(Handler& handler, std::chrono::milliseconds timeout) override {
        handler_ = &handler;
        wake_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        if (!wake_)
            return StartResult::kNoThread;
        // The thread holds the module while it runs and lets go of it as its
        // very last act, so the code it runs is never unloaded under it.
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                reinterpret_cast<LPCWSTR>(&thread_main), &module_)) {
            return StartResult::kNoThread;
        }
        DWORD id = 0;
        thread_.reset(CreateThread(nullptr, 0, &thread_main, this, 0, &id));
        if (!thread_) {
            FreeLibrary(module_);
            return StartResult::kNoThread;
        }
        thread_id_ = id;
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
        const HANDLE handle = reinterpret_cast<HANDLE>(source.value);
        Watched watched{source.kind, handle, nullptr};
        if (source.kind == hid::EventSource::Kind::kDeviceHandle) {
            DEV_BROADCAST_HANDLE filter{};
            filter.dbch_size = sizeof filter;
            filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
            filter.dbch_handle = handle;
            watched.notification =
                RegisterDeviceNotificationW(window_.load(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
            if (watched.notification == nullptr) {
                debug_printf("device monitor: no removal notification: %s\n",
                             windows::error_text(GetLastError()).c_str());
                return false;
            }
        } else if (source.kind != hid::EventSource::Kind::kWaitable) {
            return false;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (source.kind == hid::EventSource::Kind::kWaitable &&
            std::count_if(watched_.begin(), watched_.end(), [](const auto& entry) {
                return entry.second.kind == hid::EventSource::Kind::kWaitable;
            }) >= static_cast<std::ptrdiff_t>(kMaxWatchedWaitables)) {
            return false;
        }
        watched_[id] = watched;
        SetEvent(wake_.get());
        return true;
    }

    void unwatch(uint64_t id) override {
        HDEVNOTIFY notification = nullptr;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            const auto found = watched_.find(id);
            if (found == watched_.end())
                return;
            notification = found->second.notification;
            watched_.erase(found);
            SetEvent(wake_.get());
        }
        // Cancelled by the window after the message being handled (the removal
        // that brought us here, say), as the system expects.
        if (notification != nullptr && !PostMessageW(window_.load(), kCancelNotification, 0,
                                                     reinterpret_cast<LPARAM>(notification))) {
            UnregisterDeviceNotification(notification);
        }
    }

    void run_on_thread(std::function<void()> task) override {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
        SetEvent(wake_.get());
    }

    void stop() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            if (wake_)
                SetEvent(wake_.get());
        }
        ready_changed_.notify_all();
        // Asked from the loop itself (a client calling back): it ends after
        // this task; whoever destroys the loop waits for it.
        if (on_loop_thread() || !thread_)
            return;
        if (windows::process_detaching()) {
            // Under the loader lock, where waiting for a thread would never
            // end: ask the window to close, as the original did, and go.
            if (const HWND window = window_.load(); window != nullptr) {
                DWORD_PTR unused;
                SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 500, &unused);
            }
            thread_.reset();
            return;
        }
        WaitForSingleObject(thread_.get(), INFINITE);
        thread_.reset();
    }

    bool on_loop_thread() const override { return GetCurrentThreadId() == thread_id_.load(); }

  private:
    enum class State { kStarting, kReady, kNoArrivals };

    struct Watched {
        hid::EventSource::Kind kind;
        HANDLE handle;
        HDEVNOTIFY notification;  // for a device handle
    };

    struct PendingArrival {
        std::string path;
        size_t attempt;
        Clock::time_point due;
    };

    static DWORD WINAPI thread_main(void* context) {
        auto* self = static_cast<WindowsMonitorLoop*>(context);
        const HMODULE module = self->module_;
        self->thread_id_ = GetCurrentThreadId();
        name_thread();
        const DWORD result = self->run();
        // Whoever waits for this thread may free the loop from here on.
        FreeLibraryAndExitThread(module, result);
    }

    // Named, so it can be told apart in a debugger. SetThreadDescription came
    // with Windows 10 1607 and older SDK headers lack it: looked up.
    static void name_thread() {
        using SetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PCWSTR);
        const FARPROC found =
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription");
        if (found == nullptr)
            return;
        const auto describe =
            reinterpret_cast<SetThreadDescriptionFunction>(reinterpret_cast<void*>(found));
        describe(GetCurrentThread(), kThreadName);
    }

    DWORD run() {
        if (const auto delay = g_start_delay_ms.load(); delay > 0) {
            std::unique_lock<std::mutex> lock(mutex_);
            if (ready_changed_.wait_for(lock, std::chrono::milliseconds(delay),
                                        [this] { return stopping_; })) {
                return 0;
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
        close_sources();
        return 0;
    }

    bool open_sources() {
        const HINSTANCE instance = windows::module_instance();
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = &window_procedure;
        window_class.hInstance = instance;
        window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        window_class.lpszClassName = kWindowName;
        if (RegisterClassExW(&window_class) != 0) {
            class_registered_ = true;
        } else if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            debug_printf("device monitor: no window class: %s\n",
                         windows::error_text(GetLastError()).c_str());
            return false;
        }
        const HWND window = CreateWindowExW(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE, kWindowName,
                                            kWindowName, WS_POPUP | WS_CLIPSIBLINGS, 0, 0, 5, 5,
                                            nullptr, nullptr, instance, this);
        if (window == nullptr) {
            debug_printf("device monitor: no window: %s\n",
                         windows::error_text(GetLastError()).c_str());
            return false;
        }
        watch::WatchOptions options;
        options.system_interfaces = hid::backend_enabled(hid::system_backend().name());
        options.virtual_interfaces = hid::backend_enabled(hid::virtual_backend().name());
        options.log = [](const std::string& text) { debug_printf("%s\n", text.c_str()); };
        watch_ = watch::DeviceWatch::open(options);
        return watch_ != nullptr;
    }

    void close_sources() {
        if (const HWND window = window_.load(); window != nullptr)
            DestroyWindow(window);
        window_ = nullptr;
        std::map<uint64_t, Watched> left;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            left.swap(watched_);
        }
        for (const auto& [id, watched] : left) {
            if (watched.notification != nullptr)
                UnregisterDeviceNotification(watched.notification);
        }
        // Cancellations still queued for a window that is gone.
        MSG message;
        while (
            PeekMessageW(&message, nullptr, kCancelNotification, kCancelNotification, PM_REMOVE)) {
            UnregisterDeviceNotification(reinterpret_cast<HDEVNOTIFY>(message.lParam));
        }
        watch_.reset();
        if (class_registered_)
            UnregisterClassW(kWindowName, windows::module_instance());
        class_registered_ = false;
    }

    void loop() {
        std::vector<HANDLE> handles;
        std::vector<uint64_t> ids;
        std::vector<bool> ready;
        for (;;) {
            handles.clear();
            ids.clear();
            handles.push_back(wake_.get());
            handles.push_back(reinterpret_cast<HANDLE>(watch_->event_source().value));
            {
                std::lock_guard<std::mutex> lock(mutex_);
                for (const auto& [id, watched] : watched_) {
                    if (watched.kind == hid::EventSource::Kind::kWaitable) {
                        handles.push_back(watched.handle);
                        ids.push_back(id);
                    }
                }
            }
            const DWORD result =
                MsgWaitForMultipleObjectsEx(static_cast<DWORD>(handles.size()), handles.data(),
                                            wait_timeout(), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (result == WAIT_FAILED) {
                debug_printf("device monitor: wait failed: %s\n",
                             windows::error_text(GetLastError()).c_str());
                return;
            }
            // A wait that is satisfied resets an auto-reset event: the one the
            // wait returned for is ready, the others are asked.
            ready.assign(handles.size(), false);
            if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + handles.size())
                ready[result - WAIT_OBJECT_0] = true;
            for (size_t i = 0; i < handles.size(); ++i) {
                if (!ready[i])
                    ready[i] = WaitForSingleObject(handles[i], 0) == WAIT_OBJECT_0;
            }
            // Arrivals first: a task handed over (a barrier, say) then runs
            // after every arrival that was already there when it was queued.
            const size_t first_device = handles.size() - ids.size();
            if (ready[1])
                take_arrivals();
            if (ready[0] && !run_tasks())
                return;
            if (!pump_messages())
                return;
            retry_pending();
            for (size_t i = 0; i < ids.size(); ++i) {
                if (ready[first_device + i] && still_watched(ids[i])) {
                    handler_->on_device_event(ids[i]);
                }
            }
        }
    }

    // Dispatches every waiting message; false once the window has gone.
    bool pump_messages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return false;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return true;
    }

    // Runs the tasks handed over; false once the loop is to end.
    bool run_tasks() {
        // The watch's signal may lag behind the change (Wine relays folder
        // changes from the host): ask it first, so a barrier sees every mouse
        // that had appeared before it.
        take_arrivals();
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

    // Removals reach the monitor through the watched devices themselves. A
    // system interface is openable once announced; a virtual mouse may take a
    // moment to answer.
    void take_arrivals() {
        for (const watch::DeviceChange& change : watch_->read_changes()) {
            if (change.kind != watch::ChangeKind::kArrived)
                continue;
            if (change.origin == watch::InterfaceOrigin::kSystem) {
                handler_->on_interface_arrival(change.path);
            } else {
                offer_arrival(change.path);
            }
        }
    }

    void offer_arrival(const std::string& path) {
        if (!handler_->on_interface_arrival(path))
            pending_.push_back({path, 0, Clock::now() + kArrivalRetries[0]});
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
            if (!taken && ++pending.attempt < std::size(kArrivalRetries)) {
                pending.due = now + kArrivalRetries[pending.attempt];
                ++i;
            } else {
                pending_.erase(pending_.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }

    DWORD wait_timeout() const {
        auto due = Clock::time_point::max();
        for (const PendingArrival& pending : pending_)
            due = std::min(due, pending.due);
        if (due == Clock::time_point::max())
            return INFINITE;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(due - Clock::now()).count();
        return static_cast<DWORD>(std::clamp<int64_t>(left + 1, 0, 60000));
    }

    bool still_watched(uint64_t id) {
        std::lock_guard<std::mutex> lock(mutex_);
        return watched_.count(id) != 0;
    }

    // The watch id of the device whose handle is `handle`, or 0.
    uint64_t id_of_handle(HANDLE handle) {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& [id, watched] : watched_) {
            if (watched.kind == hid::EventSource::Kind::kDeviceHandle && watched.handle == handle)
                return id;
        }
        return 0;
    }

    void on_device_change(WPARAM event, const DEV_BROADCAST_HDR* header) {
        if (header == nullptr || event != DBT_DEVICEREMOVECOMPLETE ||
            header->dbch_devicetype != DBT_DEVTYP_HANDLE) {
            return;
        }
        const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(header);
        if (const uint64_t id = id_of_handle(broadcast->dbch_handle); id != 0)
            handler_->on_device_event(id);
    }

    LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) {
        switch (message) {
            case WM_CREATE:
                return 0;
            case WM_CLOSE:
                DestroyWindow(window_.load());
                return 0;
            case WM_DESTROY:
                window_ = nullptr;
                PostQuitMessage(0);
                return 0;
            case WM_POWERBROADCAST:
                handler_->on_power_event(static_cast<uint32_t>(wparam));
                return TRUE;
            case WM_DEVICECHANGE:
                on_device_change(wparam, reinterpret_cast<const DEV_BROADCAST_HDR*>(lparam));
                return TRUE;
            case kCancelNotification:
                UnregisterDeviceNotification(reinterpret_cast<HDEVNOTIFY>(lparam));
                return 0;
            default:
                return DefWindowProcW(window_.load(), message, wparam, lparam);
        }
    }

    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            auto* self = static_cast<WindowsMonitorLoop*>(create->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self =
            reinterpret_cast<WindowsMonitorLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr || self->window_ != window)
            return DefWindowProcW(window, message, wparam, lparam);
        return self->on_message(message, wparam, lparam);
    }

    Handler* handler_ = nullptr;
    HMODULE module_ = nullptr;
    UniqueHandle thread_;
    std::atomic<DWORD> thread_id_{0};
    UniqueHandle wake_;  // auto-reset: work handed over, or the watched set changed
    std::atomic<HWND> window_{nullptr};
    bool class_registered_ = false;

    // Loop thread only.
    std::unique_ptr<watch::DeviceWatch> watch_;
    std::vector<PendingArrival> pending_;

    std::mutex mutex_;  // guards everything below
    std::condition_variable ready_changed_;
    State state_ = State::kStarting;
    bool stopping_ = false;
    std::map<uint64_t, Watched> watched_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace

std::unique_ptr<MonitorLoop> MonitorLoop::create() {
    return std::make_unique<WindowsMonitorLoop>();
}

void set_monitor_start_delay(std::chrono::milliseconds delay) {
    g_start_delay_ms = delay.count();
}

}  // namespace talvoro
