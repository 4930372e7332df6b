// The one way the program and the virtual mouse write a file. A crash, a full disk or a killed
// process never leaves a half-written AllProfile, macro store, config.ini or mouse state behind:
// readers see the old file or the new one.
#pragma once

#include <cstddef>
#include <string>

namespace talvoro {

// Writes `size` bytes to a temporary file in the folder of `path`, flushes it to disk and
// renames it over `path`. On any failure the temporary file is removed and the old file (if
// any) is left as it was. A new file gets mode 0644 less the umask; a replaced file keeps its
// permission bits (on Windows its attributes, security and creation time; a read-only one is
// refused). When `path` is a symbolic link, the file it points to is replaced. On failure errno
// says why, so the person can be told.
[[nodiscard]] bool write_file_atomically(const std::string& path, const void* data, size_t size);

}  // namespace talvoro
