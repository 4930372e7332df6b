// An argument vector in the form exec and posix_spawn take: copies of the arguments and the
// null-terminated array of pointers into them, built before a fork so the child only reads it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace talvoro::platform {

class ArgumentVector {
  public:
    explicit ArgumentVector(std::vector<std::string> arguments) : copies_(std::move(arguments)) {
        for (std::string& argument : copies_) {
            pointers_.push_back(argument.data());
        }
        pointers_.push_back(nullptr);
    }
    ArgumentVector(const ArgumentVector&) = delete;
    ArgumentVector& operator=(const ArgumentVector&) = delete;

    char* const* data() const { return pointers_.data(); }

  private:
    std::vector<std::string> copies_;
    std::vector<char*> pointers_;
};

}  // namespace talvoro::platform
