#include "render/debug_log.h"

#include <cstdio>
#include <cstdlib>

namespace talvoro::ui {

void debug_log(std::string_view message) {
    // Same switch as the device library's: set, not empty, not "0".
    const char* flag = std::getenv("TALVORO_DEBUG");
    if (flag == nullptr || *flag == '\0' || *flag == '0') {
        return;
    }
    std::fprintf(stderr, "talvoro ui: %.*s\n", static_cast<int>(message.size()), message.data());
}

}  // namespace talvoro::ui
