#include "platform/windows/windows_text.h"

#include <windows.h>

#include <climits>
#include <vector>

namespace talvoro::windows {

std::wstring to_wide(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int wanted = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (wanted <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(wanted), L'\0');
    const int written = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), wanted);
    wide.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return wide;
}

std::string to_utf8(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX)
        return {};
    const int length = static_cast<int>(text.size());
    const int wanted =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (wanted <= 0)
        return {};
    std::string utf8(static_cast<size_t>(wanted), '\0');
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), wanted, nullptr, nullptr);
    utf8.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return utf8;
}

std::string error_text(unsigned long code) {
    wchar_t* message = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text;
    if (length > 0 && message != nullptr) {
        std::wstring_view view(message, length);
        // The system's messages end in a full stop and a line break.
        while (!view.empty() && (view.back() == L'\n' || view.back() == L'\r' ||
                                 view.back() == L' ' || view.back() == L'.')) {
            view.remove_suffix(1);
        }
        text = to_utf8(view);
    }
    if (message != nullptr)
        LocalFree(message);
    if (text.empty())
        text = "system error";
    return text + " (error " + std::to_string(code) + ")";
}

std::optional<std::string> environment_variable(const char* name) {
    const std::wstring wide_name = to_wide(name);
    std::vector<wchar_t> buffer(256);
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), buffer.data(),
                                                     static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            // An empty value also gives 0, but leaves the last error alone.
            if (GetLastError() == ERROR_ENVVAR_NOT_FOUND)
                return std::nullopt;
            return std::string();
        }
        if (length < buffer.size())
            return to_utf8(std::wstring_view(buffer.data(), length));
        buffer.resize(length);  // the size asked for, terminator included; it may grow meanwhile
    }
    return std::nullopt;
}

}  // namespace talvoro::windows
