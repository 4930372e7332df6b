// Starting a test's child program with its standard output and error going where the test says.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace talvoro::test {

// Starts `arguments[0]` with `arguments` as its command line, in this process's environment;
// its standard input is NUL. The handles given are inherited by the child and by nothing else
// started meanwhile from this process. On success `started` holds the process and thread
// handles, which the caller closes.
bool start_child(const std::vector<std::string>& arguments, HANDLE std_out, HANDLE std_err,
                 PROCESS_INFORMATION* started, std::string* error);

}  // namespace talvoro::test
