#include "readable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

namespace talvoro::os {
namespace {

// Opens `path` for reading only when it is a regular file. O_NONBLOCK keeps a
// FIFO picked in a file dialog from hanging the program in open().
int open_regular_file(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Reads until `capacity` bytes or the end of the file; -1 on a read error.
ssize_t read_up_to(int fd, unsigned char* out, size_t capacity) {
    size_t total = 0;
    while (total < capacity) {
        const ssize_t got = ::read(fd, out + total, std::min<size_t>(capacity - total, INT_MAX));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(total);
}

}  // namespace

ReadableFile::ReadableFile(const std::string& path) : handle_(open_regular_file(path)) {}

ReadableFile::~ReadableFile() {
    if (is_open())
        ::close(static_cast<int>(handle_));
}

bool ReadableFile::is_open() const {
    return handle_ >= 0;
}

bool ReadableFile::read(unsigned char* out, size_t capacity, size_t& got) {
    const ssize_t count = read_up_to(static_cast<int>(handle_), out, capacity);
    got = count < 0 ? 0 : static_cast<size_t>(count);
    return count >= 0;
}

}  // namespace talvoro::os
