// The command line as the program's own text: UTF-8, whatever the system's code page, so a
// file named in any script reaches the file functions unchanged.
#pragma once

#include <string>
#include <vector>

namespace talvoro {

// The arguments main() was given, argv[0] first.
std::vector<std::string> program_arguments(int argc, char** argv);

}  // namespace talvoro
