// The eleven button fields of the main control page: the function each button holds in the page
// profile, the function menu a click on a field opens, the menu's commands with the rule that
// one button stays on Left Click (and its warning), the single-key and macro play-option popups,
// and the highlighting of the mouse picture under the pointer.
#pragma once

#include <cstdint>

#include "core/notify.h"
#include "render/rect.h"

namespace talvoro::shell {

class LayoutPage;
class PageHost;
struct MainWindowControls;

// Menu commands of the function menu.
inline constexpr int kFunctionMenuClosed = 1999;
inline constexpr int kFirstFunctionCommand = 2000;  // the submenu entries 2000..2002
inline constexpr int kLastFunctionCommand = 2055;   // the macros end at 2041 + 14
// The left-button warning's timer, on the page.
inline constexpr uintptr_t kWarningTimer = 14;
inline constexpr unsigned kWarningMs = 4000;

class ButtonAssignment {
  public:
    // `page` owns the warning's timer.
    void bind(LayoutPage& page, PageHost& host, const MainWindowControls& controls);

    // A click on a button field, or the result word of the key or play-option popup; true when
    // acted on.
    bool on_notify(ui::TNotifyUI& msg);
    static bool handles_command(int id) {
        return id == kFunctionMenuClosed ||
               (id >= kFirstFunctionCommand && id <= kLastFunctionCommand);
    }
    void on_command(int id);
    void on_timer(uintptr_t id);
    // The fields of profile `slot`.
    void show_buttons(int slot);
    // The pointer moved to `point` (window coordinates) while the main control page is shown.
    void on_pointer_moved(ui::Point point);

    int current_button() const { return current_button_; }
    bool menu_open() const { return menu_open_; }
    bool warning_visible() const { return warning_visible_; }

  private:
    LayoutPage* page_ = nullptr;
    PageHost* host_ = nullptr;
    const MainWindowControls* controls_ = nullptr;
    uint8_t current_button_ = 0;
    bool menu_open_ = false;
    bool warning_visible_ = false;
};

}  // namespace talvoro::shell
