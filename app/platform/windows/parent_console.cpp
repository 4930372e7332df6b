#include "platform/parent_console.h"

#include <windows.h>

#include <cstdio>

namespace talvoro::platform {

void use_parent_console() {
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output != nullptr && output != INVALID_HANDLE_VALUE) {
        return;
    }
    if (AttachConsole(ATTACH_PARENT_PROCESS) == FALSE) {
        return;  // started from Explorer or a shortcut: nobody would read it anyway
    }
    FILE* reopened = nullptr;
    freopen_s(&reopened, "CONOUT$", "w", stdout);
    freopen_s(&reopened, "CONOUT$", "w", stderr);
}

}  // namespace talvoro::platform
