#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>

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
// is close to the file system's limit. It does not end in the suffix of the
// virtual mice's interface files, so watchers of their folder pass it by.
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

// The replaced file's permission bits, and its owner where we may give it.
// Best effort: a file system without modes (a FAT stick) still takes the data.
void take_over_mode(int fd, const std::string& target) {
    struct stat old_file {};
    if (::stat(target.c_str(), &old_file) != 0 || !S_ISREG(old_file.st_mode))
        return;
    ::fchmod(fd, old_file.st_mode & 07777);
    ::fchown(fd, old_file.st_uid, old_file.st_gid);  // works only for root; harmless else
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

// Makes the rename itself durable.
void sync_folder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);  // best effort: the data itself is already on disk
    ::close(fd);
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
    take_over_mode(fd, target);

    // The data is on disk before the name points at it, so a crash leaves the
    // old file or the new one whole.
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

}  // namespace talvoro
