#include <windows.h>
// After windows.h, whose types it uses.
#include <shellapi.h>

#include "platform/link_opener.h"
#include "platform/windows/windows_text.h"

namespace talvoro::platform {

bool open_link(const std::string& address) {
    const std::wstring wide = windows::to_wide(address);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // Returns once the browser has been asked; no error box of the shell's own: the caller shows
    // the address instead.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = wide.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&info) != FALSE;
}

}  // namespace talvoro::platform
