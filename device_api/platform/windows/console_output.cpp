#include "console_output.h"

#include <windows.h>

#include <cstdlib>

namespace talvoro {
namespace {

UINT previous_code_page = 0;

bool is_console(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != FALSE;
}

}  // namespace

void use_utf8_console_output() {
    if (previous_code_page != 0 ||
        (!is_console(STD_OUTPUT_HANDLE) && !is_console(STD_ERROR_HANDLE))) {
        return;
    }
    const UINT current = GetConsoleOutputCP();
    if (current == CP_UTF8 || SetConsoleOutputCP(CP_UTF8) == FALSE) {
        return;
    }
    previous_code_page = current;
    // The console outlives the program: whoever types there next keeps their own code page.
    std::atexit([] { SetConsoleOutputCP(previous_code_page); });
}

}  // namespace talvoro
