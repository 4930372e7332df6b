// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace talvoro::virtual_mouse {

// Reads at most `limit` bytes of `path`; nullopt when it cannot be opened.
// A longer file yields its first `limit` + 1 bytes, so callers can tell it
// is too long without reading all of it.
std::optional<std::vector<uint8_t>> read_file_prefix(const std::string& path, size_t limit);

// Writes `bytes` to a temporary file beside `path`, syncs it and renames it
// over `path`: a reader sees the old file or the new one, never a mix.
bool write_file_atomically(const std::string& path, std::span<const uint8_t> bytes,
                           std::string* error);

}  // namespace talvoro::virtual_mouse
