#include "platform/program_arguments.h"

#include <windows.h>

#include <shellapi.h>

#include "platform/windows/windows_text.h"

namespace talvoro {

// argv holds the arguments in the ANSI code page, where a name in another script is already
// lost; the wide command line has them whole.
std::vector<std::string> program_arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    if (wide != nullptr && count == argc) {
        for (int i = 0; i < count; ++i)
            arguments.push_back(windows::to_utf8(wide[i]));
    } else {
        // Started with a command line the C runtime split otherwise: its own split wins.
        for (int i = 0; i < argc; ++i)
            arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    LocalFree(wide);
    return arguments;
}

}  // namespace talvoro
