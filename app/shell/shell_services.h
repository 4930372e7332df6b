// What the program asks of the desktop, gathered so that tests can answer for it: message
// boxes, file dialogs, the desktop pointer settings, the device protocol's waits, the end of
// the message loop and the start of other programs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "device/desktop_mouse_settings.h"
#include "device/device_link.h"
#include "device/user_notices.h"
#include "shell/macro_dialogs.h"
#include "store/profile_files.h"

namespace talvoro::shell {

struct ShellServices {
    UserNotices* notices = nullptr;
    ProfileDialogs* profile_dialogs = nullptr;
    MacroDialogs* macro_dialogs = nullptr;
    DesktopMouseSettings* desktop = nullptr;
    LinkSleep sleep = nullptr;  // null: real waits
    // Whether the window watches devices arrive and leave (tests deliver the changes instead).
    bool watch_devices = true;
    // Ends the message loop; null when there is none (headless tests).
    std::function<void()> quit;
    // Opens a web address in the browser without waiting for it; false when nothing could be
    // started. Empty: the desktop's own opener.
    std::function<bool(const std::string& address)> open_link;
};

}  // namespace talvoro::shell
