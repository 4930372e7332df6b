#include "debug_sink.h"

#include <windows.h>

#include <cstdio>

namespace talvoro {

void write_debug_text(const char* text) {
    std::fputs(text, stderr);
    // A debugger or DebugView shows the library's steps as it did for the
    // original, without a console.
    OutputDebugStringA(text);
}

}  // namespace talvoro
