// Starting a program the caller does not wait for (a browser may live for hours): started with
// an argument vector, never through a shell, and never left behind as a zombie of ours.
#pragma once

#include <string>
#include <vector>

namespace talvoro::platform {

struct DetachedLaunch {
    bool started = false;
    int error = 0;  // errno of the failed step when not started
};

// argv[0] is looked up in PATH when it has no '/'. Returns once the program has been executed
// or has failed to be: a program that cannot be found or executed is reported as not started.
// The program runs in a session of its own, with standard input from /dev/null, and is not a
// child of the caller.
DetachedLaunch launch_detached(const std::vector<std::string>& argv);

}  // namespace talvoro::platform
