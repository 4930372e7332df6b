#include "platform/dynamic_library.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "platform/program_paths.h"
#include "platform/windows/windows_text.h"

namespace talvoro {
namespace {

// A library that cannot be loaded is the caller's to report: no system dialog box ("The
// program can't start because ... is missing") may stop the program meanwhile.
class QuietErrors {
  public:
    QuietErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &old_); }
    ~QuietErrors() { SetThreadErrorMode(old_, nullptr); }
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    DWORD old_ = 0;
};

std::string module_file(HMODULE module, const std::string& fallback) {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (buffer.size() <= 32768) {
        const DWORD length =
            GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return fallback;
        if (length < buffer.size())
            return windows::to_utf8(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
    return fallback;
}

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(const std::string& file_name) {
    if (file_name.empty())
        return nullptr;
    QuietErrors quiet;
    // By full path, so that neither the current folder nor PATH can put another file of that
    // name first; the library's own dependencies are then looked for beside it.
    const std::string folder = program_directory();
    HMODULE module = nullptr;
    if (!folder.empty()) {
        module =
            LoadLibraryExW(windows::to_wide(folder + file_name).c_str(), nullptr,
                           LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    }
    // Else the system's safe search: the application folder, System32 and the folders added
    // with AddDllDirectory, never the current folder.
    if (module == nullptr) {
        module = LoadLibraryExW(windows::to_wide(file_name).c_str(), nullptr,
                                LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    }
    if (module == nullptr)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(
        new DynamicLibrary(module, module_file(module, file_name)));
}

DynamicLibrary::~DynamicLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::symbol(const char* name) const {
    if (name == nullptr)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace talvoro
