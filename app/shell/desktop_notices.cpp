#include "shell/desktop_notices.h"

#include "platform/message_box.h"
#include "shell/main_window_lookup.h"

namespace talvoro::shell {

void DesktopNotices::show_notice(const std::string& text, const std::string& caption) {
    platform::show_message_box(text, caption, platform::MessageIcon::kInformation,
                               find_main_window());
}

}  // namespace talvoro::shell
