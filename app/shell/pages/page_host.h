// What a page may ask of the main window that holds it: the store and the page profile, the
// window-level actions (page refresh, the apply confirmation, notices), the device link and the
// desktop services. The window implements it; pages never reach the window any other way.
#pragma once

#include <cstdint>
#include <string>

#include "core/paint_manager.h"
#include "core/window.h"
#include "device/device_link.h"
#include "shell/shell_services.h"
#include "store/profile_store.h"

namespace talvoro::shell {

class PageHost {
  public:
    virtual ~PageHost() = default;

    virtual ProfileStore& store() = 0;
    // The profile the pages show and edit, 0..4.
    virtual int current_profile_slot() const = 0;
    // 0 main control, 1 performance, 2 macro, 3 support.
    virtual int current_main_tab() const = 0;
    // Shows profile `slot` on every page and makes it the page profile.
    virtual void page_refresh(int slot) = 0;
    // The store's macros were replaced as a whole: the macro page lists them again.
    virtual void macros_replaced() = 0;
    // A macro recording started or ended: the window takes the desktop's input for it meanwhile.
    virtual void recording_changed(bool recording) = 0;
    // A "Notice by App" box with OK.
    virtual void show_notice(const std::string& text) = 0;
    // A popup the page opened is up: sets its bit of the window's popup flags, which the
    // window clears when the popup reports back.
    virtual void mark_popup_shown(uint32_t flag) = 0;
    virtual DeviceLink& link() = 0;
    // False while the window knows the mouse is gone.
    virtual bool device_present() const = 0;
    virtual const ShellServices& services() const = 0;
    // The window: owner of popups and menus, and the paint manager of every control.
    virtual ui::CWindowWnd& window() = 0;
};

}  // namespace talvoro::shell
