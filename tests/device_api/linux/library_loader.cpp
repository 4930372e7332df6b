#include "library_loader.h"

#include <dlfcn.h>

#include "support/program_run.h"

namespace talvoro::test {

std::string shipped_library_path() {
    return built_program("libtalvoro_api.so");
}

LoadedLibrary::LoadedLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr)
        error_ = dlerror();
}

LoadedLibrary::~LoadedLibrary() {
    unload();
}

void* LoadedLibrary::symbol(const char* name) const {
    return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

bool LoadedLibrary::unload() {
    if (handle_ == nullptr)
        return false;
    const bool done = dlclose(handle_) == 0;
    handle_ = nullptr;
    return done;
}

}  // namespace talvoro::test
