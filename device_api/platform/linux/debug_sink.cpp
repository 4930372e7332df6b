#include "debug_sink.h"

#include <cstdio>

namespace talvoro {

void write_debug_text(const char* text) {
    std::fputs(text, stderr);
}

}  // namespace talvoro
