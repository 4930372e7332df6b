#include "platform/program_paths.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/platform_names.h"
#include "platform/program_paths_system.h"
#include "platform/windows/windows_text.h"

namespace talvoro {
namespace {

// Windows paths reach 32767 UTF-16 units with the \\?\ prefix; anything longer is no path.
constexpr size_t kLongestPath = 32768;
constexpr const char* kDataFolderName = "Talvoro";

bool ends_with_separator(std::string_view folder) {
    return !folder.empty() && (is_path_separator(folder.back()) || folder.back() == ':');
}

std::string with_trailing_separator(std::string folder) {
    if (!folder.empty() && !ends_with_separator(folder))
        folder += kPathSeparator;
    return folder;
}

// Whether this user may create files in `folder`: tried rather than worked out from ACLs, which
// know nothing of read-only media, network shares or a scanner's policies. The probe file goes
// away with its handle.
bool may_write_in(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    const std::wstring probe =
        windows::to_wide(folder + ".talvoro-probe-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(counter.fetch_add(1)));
    const HANDLE file = CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The user's local application data folder (C:\Users\<name>\AppData\Local\), not roaming:
// the profile images are megabytes and belong to this machine's mouse.
std::string local_app_data() {
    PWSTR folder = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DEFAULT, nullptr, &folder)) &&
        folder != nullptr)
        result = windows::to_utf8(folder);
    CoTaskMemFree(folder);  // also after a failure, as the call asks
    if (result.empty())
        result = windows::environment_variable("LOCALAPPDATA").value_or("");
    return result;
}

std::string chosen_data_directory() {
    const std::optional<std::string> chosen = windows::environment_variable("TALVORO_DATA_DIR");
    if (chosen && !chosen->empty())
        return with_trailing_separator(*chosen);
    return {};
}

}  // namespace

namespace os {

std::string executable_path() {
    std::vector<wchar_t> buffer(MAX_PATH);
    while (buffer.size() <= kLongestPath) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return windows::to_utf8(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);  // cut to the buffer: try again larger
    }
    return {};
}

bool is_directory(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(windows::to_wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void make_directory(const std::string& path) {
    if (path.back() == ':')
        return;  // a drive, not a folder
    CreateDirectoryW(windows::to_wide(path).c_str(), nullptr);
}

}  // namespace os

std::string resource_directory_for(const std::string& program_dir) {
    // An installed Windows program keeps its skins in its own folder; there is no share/.
    return with_trailing_separator(program_dir);
}

std::string data_directory() {
    if (std::string chosen = chosen_data_directory(); !chosen.empty())
        return chosen;
    // The answer decides where every file goes, and finding it writes a probe file: found once.
    static std::once_flag once;
    static std::string folder;
    std::call_once(once, [] { folder = data_directory_for(program_directory()); });
    return folder;
}

std::string data_directory_for(const std::string& program_dir) {
    if (std::string chosen = chosen_data_directory(); !chosen.empty())
        return chosen;
    // Beside the program, as the Windows edition always kept it, when this user may write
    // there; a program under Program Files keeps its data in the user's own folder instead.
    const std::string folder = with_trailing_separator(program_dir);
    if (!folder.empty() && os::is_directory(folder) && may_write_in(folder))
        return folder;
    const std::string local = local_app_data();
    if (!local.empty())
        return with_trailing_separator(local) + kDataFolderName + kPathSeparator;
    return folder;  // nowhere better: writes there fail and are reported as failures
}

}  // namespace talvoro
