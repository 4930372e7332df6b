// What the program asks of the desktop, gathered so that tests can answer for it: message
// boxes, file dialogs, the desktop pointer settings, the device protocol's waits, and the end of
// the message loop.
#pragma once

#include <functional>

#include "device/desktop_mouse_settings.h"
#include "device/device_link.h"
#include "device/user_notices.h"
#include "store/profile_files.h"

namespace talvoro::shell {

struct ShellServices {
    UserNotices* notices = nullptr;
    ProfileDialogs* profile_dialogs = nullptr;
    DesktopMouseSettings* desktop = nullptr;
    LinkSleep sleep = nullptr;  // null: real waits
    // Whether the window watches devices arrive and leave (tests deliver the changes instead).
    bool watch_devices = true;
    // Ends the message loop; null when there is none (headless tests).
    std::function<void()> quit;
};

}  // namespace talvoro::shell
