// The command-line programs print UTF-8. A Windows console shows those bytes as text only
// while its output code page says UTF-8; elsewhere, and for output sent to a pipe or a file,
// the bytes go as they are.
#pragma once

namespace talvoro {

// Sets the console's output code page to UTF-8 when standard output or standard error is a
// console, and puts the console's own back when the program ends. Nothing elsewhere.
void use_utf8_console_output();

}  // namespace talvoro
