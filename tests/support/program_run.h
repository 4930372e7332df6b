// Runs one of the project's programs to completion, as a user would from a
// shell, and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace talvoro::test {

struct ProgramResult {
    int exit_status = -1;  // 128 + signal number when a signal ended it
    std::string out;
    std::string err;
};

// Runs `program` (a path) with `args` in the current environment; gives up
// and kills it after `timeout_seconds`.
ProgramResult run_program(const std::string& program, const std::vector<std::string>& args,
                          int timeout_seconds = 60);

// build/bin/, with its separator: the folder of the test programs and of what the build puts
// beside them (programs, skins, layouts).
std::string built_folder();

// build/bin/<name>: programs built beside the test binaries.
std::string built_program(const std::string& name);

}  // namespace talvoro::test
