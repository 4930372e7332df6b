#include "atomic_file.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/windows/unique_handle.h"
#include "platform/windows/windows_text.h"
#include "windows/error_number.h"

namespace talvoro {
namespace {

using windows::UniqueHandle;

// An antivirus scanner or the search indexer may hold a fresh file for a moment; a write waits
// this long for it before it gives up.
constexpr int kSharingRetries = 20;
constexpr DWORD kSharingRetryMs = 50;
constexpr DWORD kMaxChunk = DWORD{1} << 30;

bool is_sharing_error(DWORD error) {
    // A file that someone else is deleting reads as access denied; a replaced file that a
    // scanner holds cannot be removed.
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED || error == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

std::wstring folder_of(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        // "C:name" lives in the drive's current folder.
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : std::wstring(L".");
    }
    return path.substr(0, separator + 1);
}

// Replacing a symbolic link with a regular file would cut the user's link (a config kept
// elsewhere, say), so the file it points to is replaced.
std::wstring resolve_link(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    UniqueHandle file(CreateFileW(path.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.valid())
        return path;  // dangling: the link itself is replaced
    std::wstring resolved(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = GetFinalPathNameByHandleW(
            file.get(), resolved.data(), static_cast<DWORD>(resolved.size()), FILE_NAME_NORMALIZED);
        if (length == 0)
            return path;
        if (length < resolved.size()) {
            resolved.resize(length);
            return resolved;
        }
        resolved.resize(length + 1);
    }
    return path;
}

// The name is kept short so that it fits even beside a target whose own name is close to the
// file system's limit. It does not end in the suffix of the virtual mice's interface files, so
// watchers of their folder pass it by. Nobody else may open it while it is being written.
HANDLE create_temporary(const std::wstring& folder, std::wstring& temp_path) {
    static std::atomic<unsigned> counter{0};
    std::wstring prefix = folder;
    if (!prefix.empty() && prefix.back() != L'\\' && prefix.back() != L'/' && prefix.back() != L':')
        prefix += L'\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_path = prefix + L".talvoro-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter.fetch_add(1)) + L".tmp";
        const HANDLE handle = CreateFileW(temp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            return handle;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return INVALID_HANDLE_VALUE;
    }
    return INVALID_HANDLE_VALUE;
}

// What ReplaceFileW keeps of the replaced file, given to the new one beforehand: Wine's
// ReplaceFileW keeps none of it, and a file that changed from hidden to shown, or that seems
// made just now, would surprise the person.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

void take_over_attributes(HANDLE file, const std::wstring& target) {
    WIN32_FILE_ATTRIBUTE_DATA old{};
    if (!GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &old) ||
        (old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    FILE_BASIC_INFO info{};  // zero times: left as they are
    info.CreationTime.LowPart = old.ftCreationTime.dwLowDateTime;
    info.CreationTime.HighPart = static_cast<LONG>(old.ftCreationTime.dwHighDateTime);
    const DWORD kept = old.dwFileAttributes & kKeptAttributes;
    info.FileAttributes = kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
    // Best effort: the contents matter, these only follow them.
    SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

bool write_all(HANDLE file, const unsigned char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, kMaxChunk));
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);  // nothing taken: the only reason a disk file gives
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Puts the finished temporary file in the target's place. An existing target is replaced with
// ReplaceFileW, which keeps its attributes, its ACL and its creation time; a new one is moved
// into place. Sharing violations are waited out for a moment.
bool put_in_place(const std::wstring& temp_path, const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        const DWORD attributes = GetFileAttributesW(target.c_str());
        bool done = false;
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                SetLastError(ERROR_DIRECTORY);
                return false;
            }
            // A read-only file is the user's wish that it stay as it is: refused, not replaced.
            if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
                SetLastError(ERROR_ACCESS_DENIED);
                return false;
            }
            done = ReplaceFileW(target.c_str(), temp_path.c_str(), nullptr,
                                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                nullptr, nullptr) != 0;
            // Gone between the look and the replace: it is a new file after all.
            if (!done && GetLastError() == ERROR_FILE_NOT_FOUND &&
                GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;
        } else {
            done = MoveFileExW(temp_path.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        }
        if (done)
            return true;
        const DWORD error = GetLastError();
        if (!is_sharing_error(error) || attempt + 1 >= kSharingRetries) {
            SetLastError(error);
            return false;
        }
        Sleep(kSharingRetryMs);
    }
}

// The temporary file must not stay behind, even while a scanner looks at it.
void remove_temporary(const std::wstring& temp_path) {
    for (int attempt = 0; attempt < kSharingRetries; ++attempt) {
        if (DeleteFileW(temp_path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
            return;
        if (!is_sharing_error(GetLastError()))
            return;
        Sleep(kSharingRetryMs);
    }
}

}  // namespace

bool write_file_atomically(const std::string& path, const void* data, size_t size) {
    if (path.empty() || (data == nullptr && size > 0)) {
        errno = EINVAL;
        return false;
    }
    const std::wstring wide_path = windows::to_wide(path);
    if (wide_path.empty()) {
        errno = EINVAL;
        return false;
    }
    const std::wstring target = resolve_link(wide_path);
    const std::wstring folder = folder_of(target);

    std::wstring temp_path;
    UniqueHandle file(create_temporary(folder, temp_path));
    if (!file.valid()) {
        errno = windows::error_number_for(GetLastError());
        return false;
    }
    // The data is on disk before the name points at it, so a crash leaves the old file or the
    // new one whole.
    bool ok = write_all(file.get(), static_cast<const unsigned char*>(data), size) &&
              FlushFileBuffers(file.get());
    if (ok)
        take_over_attributes(file.get(), target);
    DWORD error = ok ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(file.release()) && ok) {
        ok = false;
        error = GetLastError();
    }
    if (ok && !put_in_place(temp_path, target)) {
        ok = false;
        error = GetLastError();
    }
    if (!ok) {
        remove_temporary(temp_path);
        errno = windows::error_number_for(error);
        return false;
    }
    return true;
}

}  // namespace talvoro
