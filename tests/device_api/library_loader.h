// Loads the shipped library at run time, as a client program does (dlopen on
// Linux, LoadLibraryW on Windows), for tests of what loading and unloading do.
#pragma once

#include <string>

namespace talvoro::test {

// The shipped library in the build's program folder.
std::string shipped_library_path();

class LoadedLibrary {
  public:
    explicit LoadedLibrary(const std::string& path);
    ~LoadedLibrary();  // unloads it if still loaded
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool loaded() const { return handle_ != nullptr; }
    const std::string& error() const { return error_; }
    // The exported function `name`, or null.
    void* symbol(const char* name) const;
    // Drops this program's reference; true when the system accepted that.
    bool unload();

  private:
    void* handle_ = nullptr;
    std::string error_;
};

}  // namespace talvoro::test
