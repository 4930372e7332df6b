#include "files/linux/system_call_log.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace talvoro::test {
namespace {

SystemCallLog* active_log = nullptr;

std::string resolve(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? path : resolved.string();
}

// The file behind a descriptor, as the kernel names it; empty for a pipe or a socket.
std::string path_of(int fd) {
    std::error_code error;
    const std::filesystem::path target =
        std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
    return error ? std::string() : target.string();
}

}  // namespace

SystemCallLog::SystemCallLog(const std::string& folder) : folder_(resolve(folder)) {
    active_log = this;
}

SystemCallLog::~SystemCallLog() {
    active_log = nullptr;
}

std::string SystemCallLog::resolved(const std::string& name) const {
    return resolve(name);
}

bool SystemCallLog::watches(const std::string& path) const {
    return path == folder_ || path.starts_with(folder_ + "/");
}

bool SystemCallLog::take_fault(const std::string& call, int& error) {
    const auto fault = std::find_if(faults_.begin(), faults_.end(),
                                    [&](const Fault& candidate) { return candidate.call == call; });
    if (fault == faults_.end())
        return false;
    error = fault->error;
    faults_.erase(fault);
    return true;
}

}  // namespace talvoro::test

using talvoro::test::active_log;
using talvoro::test::path_of;
using talvoro::test::resolve;
using talvoro::test::SystemCall;

extern "C" {

ssize_t __real_write(int fd, const void* data, size_t size);
int __real_fsync(int fd);
int __real_close(int fd);
int __real_rename(const char* from, const char* to);

ssize_t __wrap_write(int fd, const void* data, size_t size) {
    const std::string path = active_log != nullptr ? path_of(fd) : std::string();
    if (path.empty() || !active_log->watches(path))
        return __real_write(fd, data, size);
    active_log->record(SystemCall{"write", path, {}, size});
    int error = 0;
    if (active_log->take_fault("write", error)) {
        errno = error;
        return -1;
    }
    if (const auto limit = active_log->write_limit())
        size = std::min(size, *limit);
    return size == 0 ? 0 : __real_write(fd, data, size);
}

int __wrap_fsync(int fd) {
    const std::string path = active_log != nullptr ? path_of(fd) : std::string();
    if (path.empty() || !active_log->watches(path))
        return __real_fsync(fd);
    struct stat info {};
    ::fstat(fd, &info);
    active_log->record(SystemCall{"fsync", path, {}, static_cast<size_t>(info.st_size)});
    int error = 0;
    if (active_log->take_fault("fsync", error)) {
        errno = error;
        return -1;
    }
    return __real_fsync(fd);
}

int __wrap_close(int fd) {
    const std::string path = active_log != nullptr ? path_of(fd) : std::string();
    if (path.empty() || !active_log->watches(path))
        return __real_close(fd);
    active_log->record(SystemCall{"close", path, {}, 0});
    int error = 0;
    const int result = __real_close(fd);
    if (active_log->take_fault("close", error)) {
        errno = error;
        return -1;
    }
    return result;
}

int __wrap_rename(const char* from, const char* to) {
    if (active_log == nullptr)
        return __real_rename(from, to);
    const std::string old_name = resolve(from);
    if (!active_log->watches(old_name))
        return __real_rename(from, to);
    active_log->record(SystemCall{"rename", old_name, resolve(to), 0});
    int error = 0;
    if (active_log->take_fault("rename", error)) {
        errno = error;
        return -1;
    }
    return __real_rename(from, to);
}

}  // extern "C"
