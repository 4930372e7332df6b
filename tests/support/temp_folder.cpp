#include "support/temp_folder.h"

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace talvoro::test {

TempFolder::TempFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/talvoro-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp " << pattern << ": " << std::strerror(errno);
        return;
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return path_ + "/" + name;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_value_ = old;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (old_value_) {
        ::setenv(name_.c_str(), old_value_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

std::string file_contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace talvoro::test
