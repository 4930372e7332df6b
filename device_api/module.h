// The library module: where it was loaded from.
#pragma once

namespace talvoro {

struct ModuleHandle {
    const char* file = nullptr;  // path the module was loaded from
    void* base = nullptr;        // its load address
};

// Recorded when the library is loaded.
const ModuleHandle& module_handle();

}  // namespace talvoro
