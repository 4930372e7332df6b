#include "file_reading.h"

#include <algorithm>
#include <cstdint>

#include "readable_file.h"

namespace talvoro {

FileReadResult read_file_prefix(const std::string& path, void* out, size_t capacity) {
    FileReadResult result;
    if (out == nullptr && capacity > 0)
        return result;
    os::ReadableFile file(path);
    if (!file.is_open())
        return result;
    size_t got = 0;
    if (!file.read(static_cast<unsigned char*>(out), capacity, got))
        return result;
    // An empty file and a zero capacity both leave nothing to report.
    result.status = got == 0 ? FileReadStatus::kEmpty : FileReadStatus::kRead;
    result.size = got;
    return result;
}

FileText read_file_text(const std::string& path, size_t max_bytes) {
    FileText result;
    os::ReadableFile file(path);
    if (!file.is_open())
        return result;
    // One byte past the limit tells a file of exactly max_bytes from a longer one.
    const size_t wanted = max_bytes < SIZE_MAX ? max_bytes + 1 : max_bytes;
    constexpr size_t kChunk = 64 * 1024;
    while (result.bytes.size() < wanted) {
        const size_t old_size = result.bytes.size();
        const size_t chunk = std::min(kChunk, wanted - old_size);
        result.bytes.resize(old_size + chunk);
        size_t got = 0;
        if (!file.read(reinterpret_cast<unsigned char*>(result.bytes.data()) + old_size, chunk,
                       got)) {
            result.bytes.clear();
            return result;
        }
        result.bytes.resize(old_size + got);
        if (got < chunk)
            break;
    }
    if (result.bytes.size() > max_bytes) {
        result.bytes.resize(max_bytes);
        result.truncated = true;
    }
    result.status =
        result.bytes.empty() && !result.truncated ? FileReadStatus::kEmpty : FileReadStatus::kRead;
    return result;
}

}  // namespace talvoro
