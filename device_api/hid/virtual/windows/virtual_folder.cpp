#include <windows.h>

#include "hid/virtual/virtual_wire.h"
#include "platform/windows/windows_text.h"

namespace talvoro::hid::virtual_wire {

std::string default_folder() {
    // Set but empty counts as not set.
    const std::string dir = windows::environment_variable("TALVORO_HID_DIR").value_or("");
    if (!dir.empty())
        return dir;
    const std::string local = windows::environment_variable("LOCALAPPDATA").value_or("");
    if (!local.empty())
        return local + "\\talvoro-hid";
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder = length > 0 && length <= MAX_PATH ? std::wstring(temp, length) : L".\\";
    return windows::to_utf8(folder) + "talvoro-hid";
}

bool folder_is_trusted(const std::string& folder, std::string* why) {
    // No owner or mode test as on Linux: a folder under the user's profile (%LOCALAPPDATA%, the
    // temporary folder) inherits an access list that lets only this user, SYSTEM and
    // administrators in, so no other user can plant files there. What remains is a junction or
    // symbolic link put in the folder's place to send the mouse's files elsewhere.
    const DWORD attributes = GetFileAttributesW(windows::to_wide(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (why != nullptr) {
            const DWORD code = GetLastError();
            *why = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND
                       ? "no such folder"
                       : windows::error_text(code);
        }
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if (why != nullptr)
            *why = "not a folder";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        if (why != nullptr)
            *why = "a link to another place, not a folder";
        return false;
    }
    return true;
}

}  // namespace talvoro::hid::virtual_wire
