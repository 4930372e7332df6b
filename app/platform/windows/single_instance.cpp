// One running program on Windows: the named mutex, and the hidden "MSUIMainFrame" window a later
// start finds among the top-level windows and sends message 1127.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/single_instance.h"
#include "platform/windows/windows_text.h"

namespace talvoro::platform {
namespace {

// The class later starts look for; the system compares class names without case.
constexpr wchar_t kWindowClass[] = L"MSUIMainFrame";
// Message 1127 (WM_USER + 103) as the window hears it.
constexpr UINT kMessage = kSecondInstanceMessage;
// A first instance that does not answer in time is left alone.
constexpr UINT kSendTimeoutMs = 2000;

}  // namespace

class SingleInstance::Listener {
  public:
    explicit Listener(std::function<void(uint32_t)> on_message)
        : on_message_(std::move(on_message)) {
        thread_ = std::thread([this] { run(); });
        std::unique_lock lock(mutex_);
        started_.wait(lock, [this] { return state_ != State::kStarting; });
    }
    ~Listener() {
        if (window_ != nullptr) {
            PostMessageW(window_, WM_CLOSE, 0, 0);
        }
        thread_.join();
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    bool listening() const { return state_ == State::kListening; }

  private:
    enum class State { kStarting, kListening, kFailed };

    void run() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW window_class{};
        window_class.cbSize = sizeof window_class;
        window_class.lpfnWndProc = &procedure;
        window_class.hInstance = instance;
        window_class.lpszClassName = kWindowClass;
        const bool registered =
            RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        // Top-level and never shown: message-only windows are not among the top-level ones.
        HWND window = registered ? CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0,
                                                   nullptr, nullptr, instance, this)
                                 : nullptr;
        {
            std::lock_guard lock(mutex_);
            window_ = window;
            state_ = window != nullptr ? State::kListening : State::kFailed;
        }
        started_.notify_all();
        if (window == nullptr) {
            return;
        }
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
    }

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Listener*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
            case kMessage:
                if (self != nullptr) {
                    self->on_message_(kSecondInstanceMessage);
                }
                return 0;
            case WM_CLOSE:
                DestroyWindow(window);
                return 0;
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                return DefWindowProcW(window, message, wparam, lparam);
        }
    }

    std::function<void(uint32_t)> on_message_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable started_;
    State state_ = State::kStarting;
    HWND window_ = nullptr;
};

SingleInstance::SingleInstance(std::string name, std::string) : name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Role SingleInstance::acquire() {
    if (holds_lock_) {
        return Role::kFirst;
    }
    // Never closed: the mutex lasts as long as the process.
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, windows::to_wide(name_).c_str());
    if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
        holds_lock_ = true;
        return Role::kFirst;
    }
    CloseHandle(mutex);
    const HWND running = FindWindowExW(nullptr, nullptr, kWindowClass, nullptr);
    if (running == nullptr) {
        return Role::kFirstHasNoWindow;
    }
    // This start has the foreground; the running one may take it.
    DWORD process = 0;
    GetWindowThreadProcessId(running, &process);
    AllowSetForegroundWindow(process);
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(running, kMessage, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &result) != 0
               ? Role::kSignalledFirst
               : Role::kFirstHasNoWindow;
}

bool SingleInstance::listen(std::function<void(uint32_t)> on_message) {
    if (!holds_lock_ || listener_ != nullptr) {
        return false;
    }
    auto listener = std::make_unique<Listener>(std::move(on_message));
    if (!listener->listening()) {
        return false;
    }
    listener_ = std::move(listener);
    return true;
}

}  // namespace talvoro::platform
