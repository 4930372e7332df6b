// The program's failure messages: one line on standard error after the program's name.
#pragma once

#include <string>

namespace talvoro::virtual_mouse {

// Writes `message` and gives back `status`, so a failing step reads `return complain(1, error)`.
int complain(int status, const std::string& message);

}  // namespace talvoro::virtual_mouse
