#include "debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "debug_sink.h"

namespace talvoro {
namespace {

bool enabled() {
    const char* flag = std::getenv("TALVORO_DEBUG");
    return flag != nullptr && *flag != '\0' && *flag != '0';
}

}  // namespace

void debug_output(const char* text) {
    if (text != nullptr && enabled())
        write_debug_text(text);
}

void debug_printf(const char* format, ...) {
    if (!enabled())
        return;
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length >= 0) {
        std::vector<char> text(static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        write_debug_text(text.data());
    }
    va_end(args);
}

}  // namespace talvoro
