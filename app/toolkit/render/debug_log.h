// Debug messages of the painting layer: silent unless TALVORO_DEBUG is set (and not
// "0"), then to standard error.
#pragma once

#include <string_view>

namespace talvoro::ui {

void debug_log(std::string_view message);

}  // namespace talvoro::ui
