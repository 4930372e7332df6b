// Whether a control is on screen as far as its tree goes: the dump reports it and the drivers
// click it only then.
#pragma once

#include "core/control.h"

namespace talvoro::ui {

// Hidden when it or any parent is hidden.
bool control_shown(const CControlUI& control);

}  // namespace talvoro::ui
