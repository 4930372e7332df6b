#include "platform/dynamic_library.h"

#include <dlfcn.h>

#include "platform/program_paths.h"

namespace talvoro {

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const std::string& file_name) {
    // RTLD_NOW: a library with unresolvable symbols fails here, not mid-run.
    const std::string beside = program_directory() + file_name;
    if (void* handle = dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle, beside));
    }
    if (void* handle = dlopen(file_name.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle, file_name));
    }
    return nullptr;
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(handle_);
}

void* DynamicLibrary::symbol(const char* name) const {
    return dlsym(handle_, name);
}

}  // namespace talvoro
