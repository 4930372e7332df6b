// The program's main window among the live windows, for dialogs that sit over it.
#pragma once

#include "core/window.h"

namespace talvoro::shell {

// Null while there is none.
ui::CWindowWnd* find_main_window();

}  // namespace talvoro::shell
