#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "support/environment.h"
#include "support/utf8_path.h"

namespace talvoro::test {

TempFolder::TempFolder() {
    std::string error;
    path_ = make_private_temp_folder(&error);
    if (path_.empty())
        ADD_FAILURE() << error;
}

TempFolder::~TempFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(utf8_path(path_), ignored);
}

std::string TempFolder::file(const std::string& name) const {
    return path_ + "/" + name;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name))
        old_value_ = old;
    if (!set_environment_variable(name_, value))
        ADD_FAILURE() << "cannot set " << name_;
}

ScopedEnv::~ScopedEnv() {
    if (!set_environment_variable(name_, old_value_))
        ADD_FAILURE() << "cannot restore " << name_;
}

std::string file_contents(const std::string& path) {
    std::ifstream in(utf8_path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace talvoro::test
