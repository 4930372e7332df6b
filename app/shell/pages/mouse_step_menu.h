// The macro page's menu of mouse steps: five mouse buttons, each with a submenu of Up, Down and
// Click. A command id is turned into a MouseStepCommand as soon as it arrives.
#pragma once

#include <memory>
#include <optional>

#include "core/menu.h"
#include "store/macro_steps.h"

namespace talvoro::shell {

// Sent when the menu closes, whatever was chosen; it asks for nothing.
inline constexpr int kMouseStepMenuClosed = 2199;
// The five entries that only open their submenu: 2100 .. 2104.
inline constexpr int kFirstMouseStepSubmenu = 2100;
// Three commands per button, Up, Down, Click: 2200 .. 2214.
inline constexpr int kFirstMouseStepCommand = 2200;
inline constexpr int kMouseStepButtons = 5;
inline constexpr int kLastMouseStepCommand = kFirstMouseStepCommand + kMouseStepButtons * 3 - 1;

enum class MouseStepEdge {
    kUp,     // one release step
    kDown,   // one press step
    kClick,  // a press, then a release
};

struct MouseStepCommand {
    MouseAction action;  // kMouseLeftClick .. kMouseBrowserBackward
    MouseStepEdge edge;

    // The English label the steps store.
    const char* label() const { return stored_mouse_label(action); }
};

// Nothing for an id outside 2200 .. 2214.
std::optional<MouseStepCommand> decode_mouse_step_command(int id);
// Every id the page takes from the menu: the closing command and 2200 .. 2214.
bool is_mouse_step_menu_command(int id);

// The menu in `language`, drawn with the manager's font `font`.
std::unique_ptr<ui::CMenuUI> build_mouse_step_menu(int language, int font);

}  // namespace talvoro::shell
