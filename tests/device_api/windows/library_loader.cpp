#include "library_loader.h"

#include <windows.h>

#include "support/program_run.h"

namespace talvoro::test {

std::string shipped_library_path() {
    return built_program("talvoro_api.dll");
}

LoadedLibrary::LoadedLibrary(const std::string& path) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), length);
    handle_ = LoadLibraryW(wide.c_str());
    if (handle_ == nullptr)
        error_ = "LoadLibraryW failed, error " + std::to_string(GetLastError());
}

LoadedLibrary::~LoadedLibrary() {
    unload();
}

void* LoadedLibrary::symbol(const char* name) const {
    if (handle_ == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

bool LoadedLibrary::unload() {
    if (handle_ == nullptr)
        return false;
    const bool done = FreeLibrary(static_cast<HMODULE>(handle_)) != FALSE;
    handle_ = nullptr;
    return done;
}

}  // namespace talvoro::test
