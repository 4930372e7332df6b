#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "linux/unique_fd.h"

namespace talvoro::virtual_mouse {

namespace {

std::string folder_of(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool write_all(int fd, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

bool fail(std::string* error, const std::string& what, const std::string& path) {
    if (error != nullptr)
        *error = what + " " + path + ": " + std::strerror(errno);
    return false;
}

}  // namespace

std::optional<std::vector<uint8_t>> read_file_prefix(const std::string& path, size_t limit) {
    posix::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    const size_t wanted = limit + 1;  // one more, to see that a file is too long
    if (wanted == 0)
        return std::nullopt;
    std::vector<uint8_t> bytes(wanted);
    size_t got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, wanted - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

bool write_file_atomically(const std::string& path, std::span<const uint8_t> bytes,
                           std::string* error) {
    // The temporary file lives in the target's folder: rename is atomic only
    // within one file system.
    std::string temp = path + ".XXXXXX";
    posix::UniqueFd fd(::mkstemp(temp.data()));
    if (!fd.valid())
        return fail(error, "cannot create a temporary file for", path);
    const bool written =
        ::fchmod(fd.get(), 0600) == 0 && write_all(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    const int saved_errno = errno;
    fd.reset();
    if (!written || ::rename(temp.c_str(), path.c_str()) != 0) {
        errno = written ? errno : saved_errno;
        fail(error, "cannot write", path);
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    if (posix::UniqueFd folder(::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        folder.valid()) {
        ::fsync(folder.get());
    }
    return true;
}

}  // namespace talvoro::virtual_mouse
