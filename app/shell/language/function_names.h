// The names of the button functions as the button fields and menus show them.
#pragma once

namespace talvoro::shell {

// Codes 1..14 and 16..17 are the store's button functions; 18 is the factory function entry of
// the menu. "" for any other code (macros are named by number, "Macro_1" ...). A language
// outside 0..3 is English.
const char* function_name(int code, int language);

}  // namespace talvoro::shell
