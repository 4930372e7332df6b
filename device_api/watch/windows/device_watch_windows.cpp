// The watch on Windows: the configuration manager's notifications of HID interfaces, which it
// calls on a thread of its own, and the virtual-HID folder read with an overlapped
// ReadDirectoryChangesW. Both set one manual-reset event, the source an owner waits on.
#include <windows.h>
// After windows.h, whose types they use.
#include <cfgmgr32.h>
extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <cstddef>
#include <map>
#include <mutex>
#include <utility>

#include "hid/virtual/virtual_link.h"
#include "hid/virtual/virtual_wire.h"
#include "platform/windows/windows_text.h"
#include "watch/device_watch.h"
#include "watch/virtual_identity.h"
#include "watch/windows/interface_ids.h"

namespace talvoro::watch {
namespace wire = hid::virtual_wire;

namespace {

using std::chrono::milliseconds;

constexpr milliseconds kInfoTimeout{500};
// What ReadDirectoryChangesW may write; the changes themselves are not read, the folder is.
constexpr DWORD kFolderBufferBytes = 1024;

// CM_Register_Notification came with Windows 8 and is missing from some Windows-compatible
// systems (Wine 8): looked up, so the library still loads where it is missing.
using RegisterNotification = CONFIGRET(WINAPI*)(PCM_NOTIFY_FILTER, PVOID, PCM_NOTIFY_CALLBACK,
                                                PHCMNOTIFICATION);
using UnregisterNotification = CONFIGRET(WINAPI*)(HCMNOTIFICATION);

struct ConfigurationManager {
    RegisterNotification register_notification = nullptr;
    UnregisterNotification unregister_notification = nullptr;
};

// Loaded once and kept for the life of the process.
const ConfigurationManager& configuration_manager() {
    static const ConfigurationManager functions = [] {
        ConfigurationManager found;
        const HMODULE module =
            LoadLibraryExW(L"cfgmgr32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (module == nullptr) {
            return found;
        }
        found.register_notification = reinterpret_cast<RegisterNotification>(
            reinterpret_cast<void*>(GetProcAddress(module, "CM_Register_Notification")));
        found.unregister_notification = reinterpret_cast<UnregisterNotification>(
            reinterpret_cast<void*>(GetProcAddress(module, "CM_Unregister_Notification")));
        return found;
    }();
    return functions;
}

class WindowsDeviceWatch final : public DeviceWatch {
  public:
    explicit WindowsDeviceWatch(WatchOptions options) : options_(std::move(options)) {}
    ~WindowsDeviceWatch() override {
        // Returns once no callback runs any more.
        if (notification_ != nullptr) {
            configuration_manager().unregister_notification(notification_);
        }
        close_folder();
        if (ready_ != nullptr) {
            CloseHandle(ready_);
        }
    }

    bool open() {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (ready_ == nullptr) {
            return false;
        }
        if (options_.system_interfaces) {
            open_system_notifications();
        }
        if (options_.virtual_interfaces) {
            open_virtual_folder();
        }
        return notification_ != nullptr || folder_handle_ != INVALID_HANDLE_VALUE;
    }

    hid::EventSource event_source() const override {
        return {hid::EventSource::Kind::kWaitable, reinterpret_cast<intptr_t>(ready_)};
    }

    std::vector<DeviceChange> read_changes() override {
        // Reset first: whatever is signalled from here on wakes the owner again.
        ResetEvent(ready_);
        std::vector<DeviceChange> found;
        {
            std::lock_guard lock(mutex_);
            found.swap(system_changes_);
        }
        if (folder_handle_ != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            if (GetOverlappedResult(folder_handle_, &folder_read_, &written, FALSE)) {
                if (!read_folder_changes()) {
                    folder_gone(found);
                }
            } else if (GetLastError() != ERROR_IO_INCOMPLETE) {
                folder_gone(found);
            }
        }
        // The folder is looked at on every call, not only when it was announced to change: the
        // announcement may lag behind the change (Wine relays it from the host), and a mouse that
        // was killed leaves its file behind with no announcement at all.
        if (!folder_.empty()) {
            rescan(&found);
        }
        return found;
    }

  private:
    void log(const std::string& text) const {
        if (options_.log) {
            options_.log(text);
        }
    }

    void open_system_notifications() {
        const ConfigurationManager& manager = configuration_manager();
        if (manager.register_notification == nullptr ||
            manager.unregister_notification == nullptr) {
            log("no HID interface notifications on this system");
            return;
        }
        CM_NOTIFY_FILTER filter{};
        filter.cbSize = sizeof filter;
        filter.FilterType = CM_NOTIFY_FILTER_TYPE_DEVICEINTERFACE;
        HidD_GetHidGuid(&filter.u.DeviceInterface.ClassGuid);
        const CONFIGRET result =
            manager.register_notification(&filter, this, &on_notification, &notification_);
        if (result != CR_SUCCESS) {
            notification_ = nullptr;
            log("no HID interface notifications: configuration manager error " +
                std::to_string(result));
        }
    }

    static DWORD CALLBACK on_notification(HCMNOTIFICATION, PVOID context, CM_NOTIFY_ACTION action,
                                          PCM_NOTIFY_EVENT_DATA data, DWORD size) {
        auto* self = static_cast<WindowsDeviceWatch*>(context);
        const size_t name_at = offsetof(CM_NOTIFY_EVENT_DATA, u.DeviceInterface.SymbolicLink);
        if ((action != CM_NOTIFY_ACTION_DEVICEINTERFACEARRIVAL &&
             action != CM_NOTIFY_ACTION_DEVICEINTERFACEREMOVAL) ||
            data == nullptr || size <= name_at ||
            data->FilterType != CM_NOTIFY_FILTER_TYPE_DEVICEINTERFACE) {
            return ERROR_SUCCESS;
        }
        // The name runs to the end of the data, or to its terminator.
        const size_t room = (size - name_at) / sizeof(WCHAR);
        const wchar_t* name = data->u.DeviceInterface.SymbolicLink;
        const std::string path = windows::to_utf8({name, wcsnlen(name, room)});
        if (!path.empty()) {
            self->system_change(action == CM_NOTIFY_ACTION_DEVICEINTERFACEARRIVAL
                                    ? ChangeKind::kArrived
                                    : ChangeKind::kRemoved,
                                path);
        }
        return ERROR_SUCCESS;
    }

    void system_change(ChangeKind kind, const std::string& path) {
        const auto ids = interface_ids_from_path(path);
        if (!ids) {
            return;  // an interface that names no vendor and product is no mouse of ours
        }
        {
            std::lock_guard lock(mutex_);
            system_changes_.push_back(
                {kind, InterfaceOrigin::kSystem, ids->vendor, ids->product, path});
        }
        SetEvent(ready_);
    }

    void open_virtual_folder() {
        const std::string folder = wire::default_folder();
        const std::wstring wide = windows::to_wide(folder);
        // A mouse may be started after us: make the folder now.
        if (!wide.empty() && !CreateDirectoryW(wide.c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            log("virtual-HID folder " + folder +
                " cannot be made: " + windows::error_text(GetLastError()));
        }
        std::string why;
        if (!wire::folder_is_trusted(folder, &why)) {
            log("virtual-HID folder " + folder + " not watched: " + why);
            return;
        }
        folder_handle_ =
            CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        if (folder_handle_ == INVALID_HANDLE_VALUE) {
            log("virtual-HID folder " + folder +
                " not watched: " + windows::error_text(GetLastError()));
            return;
        }
        folder_ = folder;
        folder_read_.hEvent = ready_;
        if (!read_folder_changes()) {
            log("virtual-HID folder " + folder +
                " not watched: " + windows::error_text(GetLastError()));
            close_folder();
            folder_.clear();
            return;
        }
        // What is there now is not announced, but its removal will be.
        rescan(nullptr);
    }

    // Asks for the next change; false when the folder can no longer be watched.
    bool read_folder_changes() {
        const HANDLE event = folder_read_.hEvent;
        folder_read_ = {};
        folder_read_.hEvent = event;
        return ReadDirectoryChangesW(folder_handle_, folder_buffer_, sizeof folder_buffer_, FALSE,
                                     FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &folder_read_,
                                     nullptr) != FALSE;
    }

    void close_folder() {
        if (folder_handle_ == INVALID_HANDLE_VALUE) {
            return;
        }
        // The buffer belongs to the system until the read has ended.
        DWORD written = 0;
        if (CancelIoEx(folder_handle_, &folder_read_) || GetLastError() != ERROR_NOT_FOUND) {
            GetOverlappedResult(folder_handle_, &folder_read_, &written, TRUE);
        }
        CloseHandle(folder_handle_);
        folder_handle_ = INVALID_HANDLE_VALUE;
    }

    // Brings what we know in line with the interfaces that live mice serve: at the start
    // silently (`found` null), afterwards with the arrivals and removals.
    void rescan(std::vector<DeviceChange>* found) {
        std::vector<std::string> present;
        hid::list_virtual_links(folder_, present);
        if (found != nullptr) {
            for (auto it = known_.begin(); it != known_.end();) {
                if (std::find(present.begin(), present.end(), it->first) != present.end()) {
                    ++it;
                    continue;
                }
                DeviceChange change = std::move(it->second);
                change.kind = ChangeKind::kRemoved;
                found->push_back(std::move(change));
                it = known_.erase(it);
            }
        }
        for (const std::string& path : present) {
            if (known_.count(path) != 0) {
                continue;
            }
            // Not answering yet: asked again at the next look.
            const auto identity = query_virtual_identity(path, kInfoTimeout);
            if (!identity) {
                continue;
            }
            const DeviceChange change{ChangeKind::kArrived, InterfaceOrigin::kVirtual,
                                      identity->vendor, identity->product, path};
            known_[path] = change;
            if (found != nullptr) {
                found->push_back(change);
            }
        }
    }

    void folder_gone(std::vector<DeviceChange>& found) {
        for (auto& [path, change] : known_) {
            change.kind = ChangeKind::kRemoved;
            found.push_back(std::move(change));
        }
        known_.clear();
        log("virtual-HID folder " + folder_ + " went away");
        close_folder();
        folder_.clear();
    }

    WatchOptions options_;
    HANDLE ready_ = nullptr;  // manual reset: something to read

    HCMNOTIFICATION notification_ = nullptr;
    std::mutex mutex_;                          // guards system_changes_
    std::vector<DeviceChange> system_changes_;  // queued by the notification thread

    std::string folder_;
    HANDLE folder_handle_ = INVALID_HANDLE_VALUE;
    OVERLAPPED folder_read_{};
    alignas(DWORD) uint8_t folder_buffer_[kFolderBufferBytes];
    std::map<std::string, DeviceChange> known_;  // interface file → its arrival
};

}  // namespace

std::unique_ptr<DeviceWatch> DeviceWatch::open(const WatchOptions& options) {
    auto watch = std::make_unique<WindowsDeviceWatch>(options);
    if (!watch->open()) {
        return nullptr;
    }
    return watch;
}

}  // namespace talvoro::watch
