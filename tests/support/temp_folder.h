// A test's own corner of the environment: a private folder and environment
// variables, both put back as they were when the test ends.
#pragma once

#include <optional>
#include <string>

namespace talvoro::test {

// A fresh folder only this user may use, under the system's temporary folder,
// removed with its contents on destruction. Its path is UTF-8.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

  private:
    std::string path_;
};

// The whole file as bytes; empty when it cannot be read.
std::string file_contents(const std::string& path);

// Sets an environment variable and restores its old value (or its absence)
// on destruction.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_value_;
};

}  // namespace talvoro::test
