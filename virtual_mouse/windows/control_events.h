// The requests to unplug, plug in and stop, as Windows delivers them: three named auto-reset
// events, Local\talvoro-virtual-mouse-<pid>-unplug|plug|stop, that a test or script sets, and
// Ctrl+C / Ctrl+Break (or the console closing), which set the stop event.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/windows/unique_handle.h"

namespace talvoro::virtual_mouse::windows {

using talvoro::windows::UniqueHandle;

class ControlEvents {
  public:
    // Creates the events and installs the console handler; only one may exist at a time.
    static std::optional<ControlEvents> open(std::string* error);
    ControlEvents(ControlEvents&& other) noexcept;
    ControlEvents& operator=(ControlEvents&&) = delete;
    ~ControlEvents();

    HANDLE unplug() const { return unplug_.get(); }
    HANDLE plug_in() const { return plug_in_.get(); }
    HANDLE stop() const { return stop_.get(); }
    // Called once the program has cleaned up, so a console being closed may end it.
    void finished();

  private:
    ControlEvents() = default;
    UniqueHandle unplug_;
    UniqueHandle plug_in_;
    UniqueHandle stop_;
    UniqueHandle finished_;
    bool handler_installed_ = false;
};

// The event's name for this process: Local\talvoro-virtual-mouse-<pid>-<what>.
std::wstring control_event_name(DWORD pid, const wchar_t* what);

}  // namespace talvoro::virtual_mouse::windows
