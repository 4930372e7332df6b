// A command line for CreateProcessW: each argument quoted so that the C runtime's parser of the
// started program gives back exactly the argument (spaces, quotes, trailing backslashes).
#pragma once

#include <string>
#include <vector>

namespace talvoro::test {

std::wstring quote_command_line(const std::vector<std::string>& arguments);

}  // namespace talvoro::test
