// Load and unload of talvoro_api.dll: the process attach records where the
// module lies; the process detach marks the unload, so that the monitor's
// thread is told to close instead of being waited for under the loader lock.
#include <windows.h>

#include <atomic>
#include <string>

#include "module.h"
#include "platform/windows/module_state.h"
#include "platform/windows/windows_text.h"

namespace talvoro {
namespace {

std::atomic<bool> g_detaching{false};

// Filled in place, so `handle.file` points into `file` for good.
struct ModuleRecord {
    explicit ModuleRecord(HMODULE module) : instance(module) {
        // Paths may be longer than MAX_PATH: grow until the name fits.
        std::wstring name(MAX_PATH, L'\0');
        while (instance != nullptr) {
            const DWORD length =
                GetModuleFileNameW(instance, name.data(), static_cast<DWORD>(name.size()));
            if (length == 0)
                break;
            if (length < name.size()) {
                name.resize(length);
                file = windows::to_utf8(name);
                break;
            }
            if (name.size() >= 32768)
                break;
            name.resize(name.size() * 2);
        }
        handle.file = file.empty() ? nullptr : file.c_str();
        handle.base = instance;
    }
    ModuleRecord(const ModuleRecord&) = delete;
    ModuleRecord& operator=(const ModuleRecord&) = delete;

    HMODULE instance;
    std::string file;
    ModuleHandle handle;
};

// The module this code is part of, found from one of its own addresses: the
// DLL when built as one, else the program the objects are linked into.
HMODULE own_instance() {
    HMODULE instance = nullptr;
    if (!GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(&own_instance), &instance)) {
        return nullptr;
    }
    return instance;
}

const ModuleRecord& record() {
    static const ModuleRecord recorded(own_instance());
    return recorded;
}

}  // namespace

const ModuleHandle& module_handle() {
    return record().handle;
}

namespace windows {

HMODULE module_instance() {
    return record().instance;
}

bool process_detaching() {
    return g_detaching.load();
}

}  // namespace windows
}  // namespace talvoro

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            // Recorded now, while loading is single-threaded.
            talvoro::record();
            break;
        case DLL_PROCESS_DETACH:
            // The static monitor's destructor runs after this, still under the
            // loader lock; it sends its window WM_CLOSE and waits for nothing.
            talvoro::g_detaching = true;
            break;
        default:
            break;
    }
    return TRUE;
}
