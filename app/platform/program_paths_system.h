// The system calls under program_paths.cpp, each system's own
// (platform/<system>/program_paths.cpp); the path logic above them is shared.
#pragma once

#include <string>

namespace talvoro::os {

// The running program's file; empty when it cannot be found.
std::string executable_path();

// Whether a folder (or a link to one) is at `path`.
bool is_directory(const std::string& path);

// Creates the one folder `path` names, its parent already there. A failure (one that exists,
// the root, a drive) is left to the caller's final test.
void make_directory(const std::string& path);

}  // namespace talvoro::os
