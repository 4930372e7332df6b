#include "platform/message_box.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>

#include "dialogs/notice_box_wnd.h"
#include "platform/desktop_display.h"
#include "platform/sdl/event_loop.h"
#include "platform/sdl/sdl_window_backend.h"

namespace talvoro::platform {
namespace {

// At start-up nobody has installed the SDL windows yet; a program that already runs windows
// headless keeps them so.
bool windows_can_show(const ui::CWindowWnd* owner) {
    if (owner != nullptr) {
        return !owner->headless();
    }
    const auto live = ui::CWindowWnd::live_windows();
    if (live.empty()) {
        return sdl::install_sdl_windows();
    }
    return std::none_of(live.begin(), live.end(),
                        [](const ui::CWindowWnd* window) { return window->headless(); });
}

Uint32 sdl_flags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::kError:
            return SDL_MESSAGEBOX_ERROR;
        case MessageIcon::kWarning:
            return SDL_MESSAGEBOX_WARNING;
        case MessageIcon::kInformation:
        case MessageIcon::kNone:
            break;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

}  // namespace

void show_message_box(const std::string& text, const std::string& caption, MessageIcon icon,
                      ui::CWindowWnd* owner) {
    if (!desktop_display_available(owner)) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(),
                     ui::CNoticeBoxWnd::shown_text(text).c_str());
        return;
    }
    if (windows_can_show(owner)) {
        ui::CNoticeBoxWnd box(text, caption, icon);
        if (box.open(owner) && !box.headless()) {
            box.show();
            sdl::run_modal_loop(box);
            return;
        }
    }
    const auto* backend =
        owner != nullptr ? dynamic_cast<const sdl::SdlWindowBackend*>(owner->backend()) : nullptr;
    if (SDL_ShowSimpleMessageBox(sdl_flags(icon), caption.c_str(),
                                 ui::CNoticeBoxWnd::shown_text(text).c_str(),
                                 backend != nullptr ? backend->sdl_window() : nullptr) != 0) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(),
                     ui::CNoticeBoxWnd::shown_text(text).c_str());
    }
}

}  // namespace talvoro::platform
