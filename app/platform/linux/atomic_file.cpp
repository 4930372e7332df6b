#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/file_reading_system.h"

namespace talvoro {
namespace {

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Replacing a symbolic link with a regular file would cut the user's link
// (a config kept elsewhere, say), so the file it points to is replaced.
std::string resolve_link(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;  // dangling: the link itself is replaced
    std::string resolved(real);
    std::free(real);
    return resolved;
}

// The name is kept short so that it fits even beside a target whose own name
// is close to the file system's limit.
int create_temporary(const std::string& folder, std::string& temp_path) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_path = folder + "/.talvoro-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1)) + ".tmp";
        const int fd =
            ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool write_all(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const size_t chunk = std::min<size_t>(size, size_t{1} << 30);
        const ssize_t written = ::write(fd, data, chunk);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;  // nothing taken: the only reason a disk file gives
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);  // best effort: the data itself is already on disk
    ::close(fd);
}

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

bool write_file_atomically(const std::string& path, const void* data, size_t size) {
    if (path.empty() || (data == nullptr && size > 0)) {
        errno = EINVAL;
        return false;
    }
    const std::string target = resolve_link(path);
    const std::string folder = folder_of(target);

    std::string temp_path;
    const int fd = create_temporary(folder, temp_path);
    if (fd < 0)
        return false;

    struct stat old_file {};
    if (::stat(target.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)) {
        ::fchmod(fd, old_file.st_mode & 07777);
        ::fchown(fd, old_file.st_uid, old_file.st_gid);  // works only for root; harmless else
    }

    bool ok = write_all(fd, static_cast<const unsigned char*>(data), size) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temp_path.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temp_path.c_str());
        errno = error;
        return false;
    }
    sync_folder(folder);
    return true;
}

namespace os {

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

}  // namespace os

}  // namespace talvoro
