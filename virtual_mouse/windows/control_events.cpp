#include "windows/control_events.h"

#include <atomic>

#include "platform/windows/windows_text.h"

namespace talvoro::virtual_mouse::windows {

namespace {

// The console handler runs on a thread of its own; it only sets events.
std::atomic<HANDLE> g_stop_event{nullptr};
std::atomic<HANDLE> g_finished_event{nullptr};
// How long a closing console waits for the files to be removed before Windows ends the process.
constexpr DWORD kCloseGraceMs = 4000;

BOOL WINAPI on_console_event(DWORD type) {
    const HANDLE stop = g_stop_event.load();
    if (stop == nullptr)
        return FALSE;
    SetEvent(stop);
    // After these the process ends as soon as the handler returns: let the serving loop remove
    // the interface files first.
    if (type == CTRL_CLOSE_EVENT || type == CTRL_LOGOFF_EVENT || type == CTRL_SHUTDOWN_EVENT) {
        if (const HANDLE finished = g_finished_event.load())
            WaitForSingleObject(finished, kCloseGraceMs);
    }
    return TRUE;
}

bool make_event(UniqueHandle& event, const wchar_t* what, std::string* error) {
    const std::wstring name = control_event_name(GetCurrentProcessId(), what);
    event.reset(CreateEventW(nullptr, FALSE, FALSE, name.c_str()));
    if (!event.valid()) {
        *error = "cannot create the event " + talvoro::windows::to_utf8(name) + ": " +
                 talvoro::windows::error_text(GetLastError());
        return false;
    }
    return true;
}

}  // namespace

std::wstring control_event_name(DWORD pid, const wchar_t* what) {
    return L"Local\\talvoro-virtual-mouse-" + std::to_wstring(pid) + L"-" + what;
}

std::optional<ControlEvents> ControlEvents::open(std::string* error) {
    ControlEvents events;
    if (!make_event(events.unplug_, L"unplug", error) ||
        !make_event(events.plug_in_, L"plug", error) || !make_event(events.stop_, L"stop", error)) {
        return std::nullopt;
    }
    events.finished_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!events.finished_.valid()) {
        *error = "CreateEventW: " + talvoro::windows::error_text(GetLastError());
        return std::nullopt;
    }
    g_stop_event.store(events.stop_.get());
    g_finished_event.store(events.finished_.get());
    if (!SetConsoleCtrlHandler(on_console_event, TRUE)) {
        *error = "cannot take Ctrl+C: " + talvoro::windows::error_text(GetLastError());
        g_stop_event.store(nullptr);
        g_finished_event.store(nullptr);
        return std::nullopt;
    }
    events.handler_installed_ = true;
    return events;
}

ControlEvents::ControlEvents(ControlEvents&& other) noexcept
    : unplug_(std::move(other.unplug_)),
      plug_in_(std::move(other.plug_in_)),
      stop_(std::move(other.stop_)),
      finished_(std::move(other.finished_)),
      handler_installed_(std::exchange(other.handler_installed_, false)) {}

ControlEvents::~ControlEvents() {
    if (!handler_installed_)
        return;
    SetConsoleCtrlHandler(on_console_event, FALSE);
    g_stop_event.store(nullptr);
    finished();
    g_finished_event.store(nullptr);
}

void ControlEvents::finished() {
    if (finished_.valid())
        SetEvent(finished_.get());
}

}  // namespace talvoro::virtual_mouse::windows
