// Whole-file reads of the files write_file_atomically writes: only regular files are read, so a
// pipe or a device picked in a file dialog neither hangs the reader nor passes for a file.
#pragma once

#include <cstddef>
#include <string>

namespace talvoro {

enum class FileReadStatus {
    kCannotOpen,  // missing, unreadable, not a regular file, or a read error
    kEmpty,       // opened, but holds no byte
    kRead,        // `size` bytes read
};

struct FileReadResult {
    FileReadStatus status = FileReadStatus::kCannotOpen;
    size_t size = 0;  // bytes stored in the caller's buffer
};

// Reads the first min(file size, capacity) bytes of a regular file into `out`. On kCannotOpen
// the buffer may hold part of the file; callers read into a scratch buffer when their target
// must stay unchanged on failure.
[[nodiscard]] FileReadResult read_file_prefix(const std::string& path, void* out, size_t capacity);

struct FileText {
    FileReadStatus status = FileReadStatus::kCannotOpen;
    std::string bytes;       // the file's first bytes, at most max_bytes of them
    bool truncated = false;  // the file holds more than max_bytes bytes
};

// Reads a small text file whole; a larger one is cut at `max_bytes` and marked truncated.
FileText read_file_text(const std::string& path, size_t max_bytes);

}  // namespace talvoro
