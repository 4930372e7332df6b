#include "atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/windows/unique_handle.h"
#include "platform/windows/windows_text.h"

namespace talvoro::virtual_mouse {

namespace {

using talvoro::windows::error_text;
using talvoro::windows::to_wide;
using talvoro::windows::UniqueHandle;

// A reader that opened the file without sharing deletion (as the C runtime does) blocks its
// replacement for as long as it holds it: try again for about half a second.
constexpr int kReplaceAttempts = 50;
constexpr DWORD kReplacePauseMs = 10;

bool fail(std::string* error, const std::string& what, const std::string& path, DWORD code) {
    if (error != nullptr)
        *error = what + " " + path + ": " + error_text(code);
    return false;
}

bool write_all(HANDLE file, std::span<const uint8_t> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> read_file_prefix(const std::string& path, size_t limit) {
    UniqueHandle file(CreateFileW(to_wide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return std::nullopt;
    const size_t wanted = limit + 1;  // one more, to see that a file is too long
    if (wanted == 0)
        return std::nullopt;
    std::vector<uint8_t> bytes(wanted);
    size_t got = 0;
    while (got < wanted) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(wanted - got, 1u << 20));
        if (!ReadFile(file.get(), bytes.data() + got, chunk, &n, nullptr))
            return std::nullopt;
        if (n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

bool write_file_atomically(const std::string& path, std::span<const uint8_t> bytes,
                           std::string* error) {
    // The temporary file lives beside the target: a rename is atomic only within one volume.
    // Its name does not end in the interface files' suffix, so watchers of the folder skip it.
    static std::atomic<unsigned> counter{0};
    const std::wstring target = to_wide(path);
    const std::wstring temp = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(counter.fetch_add(1)) + L".tmp";
    UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return fail(error, "cannot create a temporary file for", path, GetLastError());
    // Flushed before the rename, so a crash leaves the old file or the new one whole.
    const bool written = write_all(file.get(), bytes) && FlushFileBuffers(file.get());
    const DWORD write_error = GetLastError();
    file.reset();
    if (!written) {
        DeleteFileW(temp.c_str());
        return fail(error, "cannot write", path, write_error);
    }
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD code = GetLastError();
        const bool held = code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION;
        if (!held || attempt + 1 >= kReplaceAttempts) {
            DeleteFileW(temp.c_str());
            return fail(error, "cannot write", path, code);
        }
        Sleep(kReplacePauseMs);
    }
}

}  // namespace talvoro::virtual_mouse
