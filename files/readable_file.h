// The system's half of the whole-file reads of file_reading.h: opening a regular file and reading
// from it (<system>/readable_file.cpp). The reads themselves are shared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace talvoro::os {

// A regular file open for reading; folders, pipes and devices are refused. Closed when it goes.
class ReadableFile {
  public:
    explicit ReadableFile(const std::string& path);
    ~ReadableFile();
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    bool is_open() const;
    // Reads until `capacity` bytes or the end of the file into `out`, `got` of them; false on a
    // read error.
    bool read(unsigned char* out, size_t capacity, size_t& got);

  private:
    std::intptr_t handle_;  // the system's descriptor or handle
};

}  // namespace talvoro::os
