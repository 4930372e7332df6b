// The button function menu's commands and what each one asks for. A command id is turned into a
// FunctionCommand as soon as it arrives, so the page never works with bare ids.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "store/button_function.h"

namespace talvoro::shell {

// Sent when the function menu closes, whatever was chosen.
inline constexpr int kFunctionMenuClosed = 1999;
// The three submenu entries: they only open their submenu.
inline constexpr int kMouseFunctionSubmenu = 2000;
inline constexpr int kGameFunctionSubmenu = 2001;
inline constexpr int kMacroSubmenu = 2002;
inline constexpr int kFirstFunctionCommand = kMouseFunctionSubmenu;
inline constexpr int kSingleKeyCommand = 2030;
inline constexpr int kDisableCommand = 2031;
inline constexpr int kDefaultCommand = 2032;
// Macro entries: 2041 for the first stored macro ... 2055 for the fifteenth.
inline constexpr int kFirstMacroCommand = 2041;
inline constexpr int kLastFunctionCommand = kFirstMacroCommand + 14;

// The menu's choice of the factory function; never stored.
inline constexpr int32_t kDefaultChoice = 18;

// One fixed row of the function table: the stored code and the menu command choosing it.
struct FunctionRow {
    int32_t code;
    int command;
};

// Rows 0..16 of the function table, in menu order; the macro rows follow from
// kFirstMacroCommand.
inline constexpr std::array<FunctionRow, 17> kFunctionRows = {{
    {kLeftClick, 2010},
    {kRightClick, 2011},
    {kScrollWheelClick, 2012},
    {kBrowserForward, 2013},
    {kBrowserBackward, 2014},
    {kScrollUp, 2015},
    {kScrollDown, 2016},
    {kDpiUp, 2020},
    {kDpiDown, 2021},
    {kDpiLevelSwitch, 2022},
    {kProfileSelect, 2023},
    {kDoubleClick, 2024},
    {kTripleClick, 2025},
    {kSniperSwitch, 2026},
    {kSingleKey, kSingleKeyCommand},
    {kDisable, kDisableCommand},
    {kDefaultChoice, kDefaultCommand},
}};
// The rows of each part of the menu.
inline constexpr int kMouseFunctionRows = 0;  // rows 0..6
inline constexpr int kGameFunctionRows = 7;   // rows 7..13
inline constexpr int kRowsPerSubmenu = 7;
inline constexpr int kFirstPlainRow = 14;  // rows 14..16 sit on the menu itself

enum class FunctionAction {
    kAssign,     // store `code`
    kSingleKey,  // ask for the key
    kDefault,    // store the button's factory function
    kMacro,      // store macro `macro_index` and ask how it plays
};

struct FunctionCommand {
    FunctionAction action;
    int32_t code;     // for kAssign
    int macro_index;  // for kMacro, 0..14

    // Whether the choice leaves `button` (0..10) on Left Click: Left Click itself, and the
    // factory function of a button whose factory function is Left Click. Everything else must
    // keep another button on Left Click.
    bool keeps_left_click(int button) const {
        if (action == FunctionAction::kAssign) {
            return code == kLeftClick;
        }
        return action == FunctionAction::kDefault && button >= 0 &&
               button < static_cast<int>(kDefaultButtons.size()) &&
               kDefaultButtons[static_cast<size_t>(button)] == kLeftClick;
    }
};

// Nothing for an id that is no button function choice (the submenu entries, 1999, gaps).
std::optional<FunctionCommand> decode_function_command(int id);
// The first fixed row holding `code`, or null.
const FunctionRow* function_row_by_code(int32_t code);

}  // namespace talvoro::shell
