// The monitor's hidden window of this process. Other test programs run at the same time on the
// same desktop, each with a monitor window of the same class and title, so a lookup by name
// alone may find theirs.
#pragma once

#include <windows.h>

namespace talvoro::test {

inline HWND own_monitor_window() {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"Thread In DLL", L"Thread In DLL")) !=
           nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

}  // namespace talvoro::test
