// Loading a shared library by file name and finding its exports by name.
#pragma once

#include <memory>
#include <string>

namespace talvoro {

class DynamicLibrary {
  public:
    // Loads `file_name` from the program's own folder first, then from the
    // system's library path. Null when neither has it.
    static std::unique_ptr<DynamicLibrary> load(const std::string& file_name);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of export `name`, or null.
    void* symbol(const char* name) const;
    // Where the library was loaded from.
    const std::string& path() const { return path_; }

  private:
    DynamicLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    std::string path_;
};

}  // namespace talvoro
