#include "platform/program_arguments.h"

namespace talvoro {

// The bytes are the locale's, UTF-8 on every current system, and are kept as they are.
std::vector<std::string> program_arguments(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    return arguments;
}

}  // namespace talvoro
