#include "support/environment.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>

namespace talvoro::test {

std::string make_private_temp_folder(std::string* error) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/talvoro-test-XXXXXX";
    // mkdtemp makes the folder with mode 0700.
    if (::mkdtemp(pattern.data()) == nullptr) {
        *error = "mkdtemp " + pattern + ": " + std::strerror(errno);
        return {};
    }
    return pattern;
}

bool set_environment_variable(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        return ::setenv(name.c_str(), value->c_str(), 1) == 0;
    return ::unsetenv(name.c_str()) == 0;
}

}  // namespace talvoro::test
