#include "hid/virtual/windows/pipe_announcement.h"

#include <windows.h>

#include "platform/windows/windows_text.h"

namespace talvoro::hid::virtual_wire {

std::wstring announced_pipe(const std::string& file) {
    // Shared for delete too: the mouse may replace or remove the file while it is read here.
    HANDLE handle = CreateFileW(windows::to_wide(file).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    char buffer[kMaxAnnouncement + 1];
    DWORD got = 0;
    const bool read = ReadFile(handle, buffer, sizeof buffer, &got, nullptr) != 0;
    CloseHandle(handle);
    if (!read || got == 0 || got > kMaxAnnouncement)
        return {};
    const std::wstring pipe = windows::to_wide(std::string(buffer, got));
    const std::wstring prefix = kPipePrefix;
    // Only a pipe of ours, by a name with nothing after it that would reach another object.
    if (pipe.size() <= prefix.size() || pipe.compare(0, prefix.size(), prefix) != 0 ||
        pipe.find_first_of(L"\\/", prefix.size()) != std::wstring::npos) {
        return {};
    }
    return pipe;
}

bool pipe_is_served(const std::wstring& pipe) {
    // Waits at most 1 ms: true at once when an instance is free; a timeout means all instances
    // are busy, so someone serves it; "not found" means no one does.
    if (WaitNamedPipeW(pipe.c_str(), 1))
        return true;
    return GetLastError() == ERROR_SEM_TIMEOUT;
}

}  // namespace talvoro::hid::virtual_wire
