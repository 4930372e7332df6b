#include "support/environment.h"

#include <stdlib.h>
#include <windows.h>

#include <atomic>

#include "platform/windows/windows_text.h"

namespace talvoro::test {

std::string make_private_temp_folder(std::string* error) {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH) {
        *error = "GetTempPathW: " + windows::error_text(GetLastError());
        return {};
    }
    // A folder in the user's own temporary folder inherits its access list, which lets no other
    // user in; the name only has to be new.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path =
            std::wstring(base) + L"talvoro-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter.fetch_add(1));
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            std::string utf8 = windows::to_utf8(path);
            if (!utf8.empty() && (utf8.back() == '\\' || utf8.back() == '/'))
                utf8.pop_back();
            return utf8;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            *error = "CreateDirectoryW " + windows::to_utf8(path) + ": " +
                     windows::error_text(GetLastError());
            return {};
        }
    }
    *error = "no fresh temporary folder name found";
    return {};
}

bool set_environment_variable(const std::string& name, const std::optional<std::string>& value) {
    const std::wstring wide_name = windows::to_wide(name);
    const std::wstring wide_value = value ? windows::to_wide(*value) : std::wstring();
    // The process's block is what child processes inherit; the C runtime keeps its own copy,
    // which std::getenv reads. Both must change. An empty value removes the variable from the C
    // runtime's copy, as Windows has no empty variables.
    const bool system_side =
        SetEnvironmentVariableW(wide_name.c_str(), value ? wide_value.c_str() : nullptr) != 0;
    const bool runtime_side = _wputenv_s(wide_name.c_str(), wide_value.c_str()) == 0;
    return system_side && runtime_side;
}

}  // namespace talvoro::test
