#include "complain.h"

#include <cstdio>

namespace talvoro::virtual_mouse {

int complain(int status, const std::string& message) {
    std::fprintf(stderr, "talvoro_virtual_mouse: %s\n", message.c_str());
    return status;
}

}  // namespace talvoro::virtual_mouse
