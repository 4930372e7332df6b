// Where the debug channel's text goes, one per platform: standard error, and
// on Windows the debugger's output too, where the original wrote it.
#pragma once

namespace talvoro {

// Writes `text` as it stands; called only when TALVORO_DEBUG is set.
void write_debug_text(const char* text);

}  // namespace talvoro
