// Names whose form the operating system fixes: the device library's file and the separator of
// folders in a path. Shared code joins and splits paths only through these.
#pragma once

namespace talvoro {

// The device library as the program loads it ("libtalvoro_api.so.1", "talvoro_api.dll").
extern const char kDeviceLibraryFile[];

// The separator the program writes between folders.
extern const char kPathSeparator;

// Whether `c` ends a folder name in a path: the written separator, and on Windows '/' as well,
// which every Windows file function takes too.
bool is_path_separator(char c);

}  // namespace talvoro
