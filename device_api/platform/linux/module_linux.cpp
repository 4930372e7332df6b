// Load of the shared library on Linux: the counterpart of a DLL's process attach.
#include <dlfcn.h>

#include "module.h"

namespace talvoro {
namespace {

ModuleHandle g_module;

__attribute__((constructor)) void on_library_load() {
    // The module's own file and base address, found from one of its functions.
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&on_library_load), &info) != 0) {
        g_module.file = info.dli_fname;
        g_module.base = info.dli_fbase;
    }
}

}  // namespace

const ModuleHandle& module_handle() {
    return g_module;
}

}  // namespace talvoro
