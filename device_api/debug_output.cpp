#include "debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace talvoro {
namespace {

bool enabled() {
    const char* flag = std::getenv("TALVORO_DEBUG");
    return flag != nullptr && *flag != '\0' && *flag != '0';
}

}  // namespace

void debug_output(const char* text) {
    if (text != nullptr && enabled()) {
        std::fputs(text, stderr);
    }
}

void debug_printf(const char* format, ...) {
    if (!enabled())
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

}  // namespace talvoro
