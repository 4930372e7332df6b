// The program's notice box ("Notice by App" with an OK button), for start-up errors and notices.
#pragma once
#include <string>

#include "dialogs/notice_icon.h"

namespace talvoro::ui {
class CWindowWnd;
}

namespace talvoro::platform {

// kNone, kInformation, kWarning, kError.
using MessageIcon = ui::NoticeIcon;

// Modal; returns once dismissed. `owner` may be null (start-up, before the main window). The box
// is the toolkit's, in the program's style; SDL's own message box stands in when that window
// cannot be made. Without a display (or with a headless owner), writes "caption: text" to
// standard error and returns.
void show_message_box(const std::string& text, const std::string& caption, MessageIcon icon,
                      ui::CWindowWnd* owner);

}  // namespace talvoro::platform
