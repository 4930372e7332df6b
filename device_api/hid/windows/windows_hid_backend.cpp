#include "hid/windows/windows_hid_backend.h"

#include <windows.h>
// After windows.h, whose types they use.
#include <setupapi.h>
// hid.dll's headers declare C functions without saying so to C++.
extern "C" {
#include <hidsdi.h>
}

#include <cwctype>

#include "debug_output.h"
#include "platform/windows/unique_handle.h"
#include "platform/windows/windows_text.h"

namespace talvoro::hid {
namespace {

using windows::UniqueHandle;

// The device information set of a walk, destroyed on every way out.
class DeviceInfoSet {
  public:
    explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
    ~DeviceInfoSet() {
        if (valid())
            SetupDiDestroyDeviceInfoList(set_);
    }
    DeviceInfoSet(const DeviceInfoSet&) = delete;
    DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;

    bool valid() const { return set_ != INVALID_HANDLE_VALUE; }
    HDEVINFO get() const { return set_; }

  private:
    HDEVINFO set_;
};

// The HID parser data of an open interface, freed on every way out.
class PreparsedData {
  public:
    PreparsedData() = default;
    ~PreparsedData() {
        if (data_ != nullptr)
            HidD_FreePreparsedData(data_);
    }
    PreparsedData(const PreparsedData&) = delete;
    PreparsedData& operator=(const PreparsedData&) = delete;

    PHIDP_PREPARSED_DATA* out() { return &data_; }
    PHIDP_PREPARSED_DATA get() const { return data_; }

  private:
    PHIDP_PREPARSED_DATA data_ = nullptr;
};

bool read_attributes(HANDLE handle, HidAttributes& out) {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(handle, &attributes))
        return false;
    out.vendor_id = attributes.VendorID;
    out.product_id = attributes.ProductID;
    out.version_number = attributes.VersionNumber;
    return true;
}

class WindowsHidHandle final : public HidHandle {
  public:
    WindowsHidHandle(UniqueHandle handle, const HidCaps& caps)
        : handle_(std::move(handle)), caps_(caps) {}

    bool attributes(HidAttributes& out) override { return read_attributes(handle_.get(), out); }

    // Windows hands out no report descriptor, only what its parser made of it.
    bool report_descriptor(std::vector<uint8_t>&) override { return false; }

    bool collections(std::vector<HidCaps>& out) override {
        out.assign(1, caps_);
        return true;
    }

    bool set_feature(const uint8_t* report, size_t length) override {
        if (length == 0 || length > MAXDWORD)
            return false;
        // hid.dll takes a non-const buffer but only reads it for a set.
        return HidD_SetFeature(handle_.get(), const_cast<uint8_t*>(report),
                               static_cast<ULONG>(length)) != FALSE;
    }

    bool get_feature(uint8_t* report, size_t length) override {
        if (length == 0 || length > MAXDWORD)
            return false;
        return HidD_GetFeature(handle_.get(), report, static_cast<ULONG>(length)) != FALSE;
    }

    // Removal reaches a watcher as a handle notification of the system.
    EventSource event_source() override {
        return {EventSource::Kind::kDeviceHandle, reinterpret_cast<intptr_t>(handle_.get())};
    }

    // The library reads no input reports; the question is only whether the
    // device still answers.
    bool service_events(std::vector<uint8_t>&) override {
        HidAttributes unused;
        return read_attributes(handle_.get(), unused);
    }

  private:
    UniqueHandle handle_;
    HidCaps caps_;
};

std::string open_failure(DWORD code) {
    switch (code) {
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            // The system's own keyboard and mouse collections end here.
            return "permission refused";
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return "no such device";
        default:
            return windows::error_text(code);
    }
}

}  // namespace

void WindowsHidBackend::list(std::vector<std::string>& paths) {
    GUID hid_guid;
    HidD_GetHidGuid(&hid_guid);
    DeviceInfoSet set(
        SetupDiGetClassDevsW(&hid_guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!set.valid()) {
        debug_printf("HID enumeration refused: %s\n", windows::error_text(GetLastError()).c_str());
        return;
    }
    std::vector<DWORD> detail_buffer;  // DWORD-aligned, as the detail structure needs
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interface {};
        interface.cbSize = sizeof interface;
        if (!SetupDiEnumDeviceInterfaces(set.get(), nullptr, &hid_guid, index, &interface)) {
            const DWORD error = GetLastError();
            if (error != ERROR_NO_MORE_ITEMS) {
                debug_printf("HID enumeration ended early: %s\n",
                             windows::error_text(error).c_str());
            }
            return;
        }
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(set.get(), &interface, nullptr, 0, &needed, nullptr);
        if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            continue;  // no detail to be had: passed over, as a device that cannot be read
        detail_buffer.assign((needed + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(detail_buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(set.get(), &interface, detail, needed, nullptr,
                                              nullptr)) {
            continue;
        }
        // The path ends within the buffer, whatever the detail says.
        const size_t limit =
            (needed - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
        const std::wstring_view wide(detail->DevicePath, wcsnlen(detail->DevicePath, limit));
        std::string path = windows::to_utf8(wide);
        if (!path.empty())
            paths.push_back(std::move(path));
    }
}

bool WindowsHidBackend::claims(const std::string& path) const {
    static constexpr std::string_view kPrefix = "\\\\?\\hid#";
    if (path.size() <= kPrefix.size())
        return false;
    for (size_t i = 0; i < kPrefix.size(); ++i) {
        if (std::towlower(static_cast<unsigned char>(path[i])) != kPrefix[i])
            return false;
    }
    return true;
}

std::unique_ptr<HidHandle> WindowsHidBackend::open(const std::string& path, std::string& why) {
    const std::wstring wide = windows::to_wide(path);
    if (wide.empty()) {
        why = "no such device";
        return nullptr;
    }
    // A synchronous handle: the feature calls then complete before they return,
    // which the protocol's set-wait-get sequences rely on.
    UniqueHandle handle(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr));
    if (!handle) {
        why = open_failure(GetLastError());
        return nullptr;
    }
    PreparsedData preparsed;
    if (!HidD_GetPreparsedData(handle.get(), preparsed.out())) {
        why = "no HID parser data: " + windows::error_text(GetLastError());
        return nullptr;
    }
    HIDP_CAPS caps{};
    if (HidP_GetCaps(preparsed.get(), &caps) != HIDP_STATUS_SUCCESS) {
        why = "no HID capabilities";
        return nullptr;
    }
    HidAttributes attributes;
    if (!read_attributes(handle.get(), attributes)) {
        why = "no HID attributes: " + windows::error_text(GetLastError());
        return nullptr;
    }
    const HidCaps collection{caps.UsagePage, caps.Usage, caps.InputReportByteLength,
                             caps.OutputReportByteLength, caps.FeatureReportByteLength};
    return std::make_unique<WindowsHidHandle>(std::move(handle), collection);
}

HidBackend& system_backend() {
    static WindowsHidBackend backend;
    return backend;
}

}  // namespace talvoro::hid
