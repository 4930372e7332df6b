#include "windows/parent_watch.h"

#include <tlhelp32.h>
#include <windows.h>

#include "platform/windows/windows_text.h"

namespace talvoro::virtual_mouse::windows {

namespace {

using talvoro::windows::error_text;

// The parent's process id as recorded when this process was made; 0 when not found.
DWORD parent_process_id() {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.valid())
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == self)
            return entry.th32ParentProcessID;
    }
    return 0;
}

bool creation_time(HANDLE process, ULONGLONG* out) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return false;
    *out = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return true;
}

}  // namespace

UniqueHandle watch_parent(std::string* error) {
    const DWORD parent_id = parent_process_id();
    if (parent_id == 0) {
        *error = "the process that started the mouse has gone";
        return {};
    }
    UniqueHandle parent(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, parent_id));
    if (!parent.valid()) {
        const DWORD code = GetLastError();
        *error = code == ERROR_INVALID_PARAMETER
                     ? "the process that started the mouse has gone"
                     : "cannot watch the process that started the mouse: " + error_text(code);
        return {};
    }
    // Process ids are reused: a process made after this one is not its parent, whose id it
    // took after the parent ended.
    ULONGLONG parent_created = 0;
    ULONGLONG self_created = 0;
    if (!creation_time(parent.get(), &parent_created) ||
        !creation_time(GetCurrentProcess(), &self_created) || parent_created > self_created ||
        WaitForSingleObject(parent.get(), 0) == WAIT_OBJECT_0) {
        *error = "the process that started the mouse has gone";
        return {};
    }
    return parent;
}

}  // namespace talvoro::virtual_mouse::windows
