#include "platform/platform_names.h"

namespace talvoro {

// By SONAME: an installed system has no unversioned link unless a developer package made one.
const char kDeviceLibraryFile[] = "libtalvoro_api.so.1";
const char kPathSeparator = '/';

bool is_path_separator(char c) {
    return c == '/';
}

}  // namespace talvoro
