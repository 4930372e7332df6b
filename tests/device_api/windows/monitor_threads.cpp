#include <windows.h>
// After windows.h, whose types it uses.
#include <tlhelp32.h>

#include <cwchar>

#include "device_monitor_fixture.h"

namespace talvoro::test {
namespace {

// Declared by newer SDKs only; kernel32 has it from Windows 10 1607 on.
using GetThreadDescriptionFunction = HRESULT(WINAPI*)(HANDLE, PWSTR*);

GetThreadDescriptionFunction get_thread_description() {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription");
    return reinterpret_cast<GetThreadDescriptionFunction>(reinterpret_cast<void*>(found));
}

}  // namespace

int monitor_thread_count() {
    static const GetThreadDescriptionFunction describe = get_thread_description();
    if (describe == nullptr) {
        ADD_FAILURE() << "GetThreadDescription is missing";
        return -1;
    }
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no thread snapshot";
        return -1;
    }
    int count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != GetCurrentProcessId())
            continue;
        const HANDLE thread =
            OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread == nullptr)
            continue;  // ended since the snapshot
        PWSTR name = nullptr;
        if (SUCCEEDED(describe(thread, &name)) && name != nullptr) {
            if (std::wcscmp(name, L"talvoro-monitor") == 0)
                ++count;
            LocalFree(name);
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace talvoro::test
