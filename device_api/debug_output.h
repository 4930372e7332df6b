// The library's one diagnostic channel: silent unless TALVORO_DEBUG is set,
// then standard error (and on Windows the debugger's output). There is no log
// file.
#pragma once

namespace talvoro {

// Writes `text` as it stands (callers end their lines themselves).
void debug_output(const char* text);

// printf-style convenience for messages with values in them.
void debug_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace talvoro
