// Whole-file reads and writes for the program's data files. Every file the
// program writes goes through write_file_atomically, so a crash, a full disk
// or a killed process never leaves a half-written AllProfile, macro store or
// config.ini behind: readers see the old file or the new one.
#pragma once

#include <cstddef>
#include <string>

namespace talvoro {

// Writes `size` bytes to a temporary file in the folder of `path`, flushes it
// to disk and renames it over `path`. On any failure the temporary file is
// removed and the old file (if any) is left as it was. A new file gets mode
// 0644 less the umask; a replaced file keeps its permission bits. When `path`
// is a symbolic link, the file it points to is replaced. On failure errno says
// why, so the person can be told.
bool write_file_atomically(const std::string& path, const void* data, size_t size);

enum class FileReadStatus {
    kCannotOpen,  // missing, unreadable, not a regular file, or a read error
    kEmpty,       // opened, but holds no byte
    kRead,        // `size` bytes read
};

struct FileReadResult {
    FileReadStatus status = FileReadStatus::kCannotOpen;
    size_t size = 0;  // bytes stored in the caller's buffer
};

// Reads the first min(file size, capacity) bytes of a regular file into
// `out`. On kCannotOpen the buffer may hold part of the file; callers read
// into a scratch buffer when their target must stay unchanged on failure.
FileReadResult read_file_prefix(const std::string& path, void* out, size_t capacity);

struct FileText {
    FileReadStatus status = FileReadStatus::kCannotOpen;
    std::string bytes;       // the file's first bytes, at most max_bytes of them
    bool truncated = false;  // the file holds more than max_bytes bytes
};

// Reads a small text file whole; a larger one is cut at `max_bytes` and
// marked truncated.
FileText read_file_text(const std::string& path, size_t max_bytes);

}  // namespace talvoro
