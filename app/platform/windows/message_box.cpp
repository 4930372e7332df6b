// The notice box on Windows: the system's own message box, owned by the program's window.
#include <windows.h>

#include <cstdio>

#include "core/window.h"
#include "platform/message_box.h"
#include "platform/windows/native_window.h"
#include "platform/windows/windows_text.h"

namespace talvoro::platform {
namespace {

UINT icon_flags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kError:
            return MB_ICONERROR;
        case MessageIcon::kWarning:
            return MB_ICONWARNING;
        case MessageIcon::kInformation:
            return MB_ICONINFORMATION;
        case MessageIcon::kNone:
            break;
    }
    return 0;
}

}  // namespace

void show_message_box(const std::string& text, const std::string& caption, MessageIcon icon,
                      ui::CWindowWnd* owner) {
    std::string shown = text;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) {
        shown.pop_back();
    }
    if (owner != nullptr && owner->headless()) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), shown.c_str());
        return;
    }
    MessageBoxW(native_window(owner), windows::to_wide(shown).c_str(),
                windows::to_wide(caption).c_str(), MB_OK | icon_flags(icon));
}

}  // namespace talvoro::platform
