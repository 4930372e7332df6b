#include "platform/platform_names.h"

namespace talvoro {

const char kDeviceLibraryFile[] = "talvoro_api.dll";
const char kPathSeparator = '\\';

bool is_path_separator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace talvoro
