// The popup menu a click on a button field opens: the mouse functions, the game functions and
// the stored macros in three submenus, then Single Key, Disable and Default.
#pragma once

#include <memory>

#include "core/menu.h"
#include "store/profile_store.h"

namespace talvoro::shell {

inline constexpr int kFunctionMenuWidth = 180;
inline constexpr const char* kFunctionMenuBackground = "#FF202020";

// The menu in `language` (texts, and its font `font`), with the macros of `store`.
std::unique_ptr<ui::CMenuUI> build_function_menu(const ProfileStore& store, int language, int font);

// The macros in use, brought into 0..15 whatever a file left in the count.
int stored_macro_count(const ProfileStore& store);

}  // namespace talvoro::shell
