// Running another program for its answer: started with an argument vector (never through a
// shell), its standard output collected, its exit status returned.
#pragma once
#include <string>
#include <vector>

namespace talvoro::platform {

struct ChildResult {
    bool started = false;
    int exit_status = -1;  // 128 + signal number when a signal ended it
    std::string output;    // standard output, whole
};

// Blocks until the program ends. argv[0] is looked up in PATH when it has no '/'. Standard
// input is /dev/null; standard error is the program's own.
ChildResult run_child(const std::vector<std::string>& argv);

}  // namespace talvoro::platform
