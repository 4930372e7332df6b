#include "readable_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/windows/windows_text.h"

namespace talvoro::os {
namespace {

constexpr DWORD kMaxChunk = DWORD{1} << 30;

// Opens `path` for reading only when it is a file on a disk: folders, pipes and devices (NUL,
// COM1, a named pipe picked in a dialog) are refused. Others may go on reading, writing or
// replacing it meanwhile.
HANDLE open_regular_file(const std::string& path) {
    if (path.empty())
        return INVALID_HANDLE_VALUE;
    const HANDLE file = CreateFileW(windows::to_wide(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// Reads until `capacity` bytes or the end of the file; false on a read error.
bool read_up_to(HANDLE file, unsigned char* out, size_t capacity, size_t& total) {
    total = 0;
    while (total < capacity) {
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(capacity - total, kMaxChunk));
        if (!ReadFile(file, out + total, chunk, &got, nullptr))
            return false;
        if (got == 0)
            break;
        total += got;
    }
    return true;
}

}  // namespace

ReadableFile::ReadableFile(const std::string& path)
    : handle_(reinterpret_cast<std::intptr_t>(open_regular_file(path))) {}

ReadableFile::~ReadableFile() {
    if (is_open())
        CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool ReadableFile::is_open() const {
    return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE;
}

bool ReadableFile::read(unsigned char* out, size_t capacity, size_t& got) {
    return read_up_to(reinterpret_cast<HANDLE>(handle_), out, capacity, got);
}

}  // namespace talvoro::os
