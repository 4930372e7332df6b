// The open and save dialogs on Windows: the common item dialogs. Save asks before replacing a
// file (and the name with its default extension is the one it asks about).
#include <windows.h>
// After windows.h, whose types they use.
#include <shobjidl.h>

#include "core/window.h"
#include "platform/file_dialog.h"
#include "platform/windows/file_dialog_setup.h"
#include "platform/windows/native_window.h"
#include "platform/windows/windows_text.h"

namespace talvoro::platform {
namespace {

// Releases a COM interface at the end of its scope.
template <typename Interface>
class Com {
  public:
    Com() = default;
    ~Com() {
        if (pointer_ != nullptr) {
            pointer_->Release();
        }
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Interface** out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface* get() const { return pointer_; }

  private:
    Interface* pointer_ = nullptr;
};

// COM for this thread for as long as the dialog runs; a thread that already has it keeps it.
class ComApartment {
  public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

}  // namespace

std::optional<std::string> run_file_dialog(const FileDialogRequest& request,
                                           ui::CWindowWnd* owner) {
    if (owner != nullptr && owner->headless()) {
        return std::nullopt;
    }
    const ComApartment apartment;
    const bool save = request.mode == FileDialogRequest::Mode::kSave;
    Com<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                CLSCTX_INPROC_SERVER, IID_IFileDialog,
                                reinterpret_cast<void**>(dialog.out())))) {
        return std::nullopt;
    }
    const DialogSetup setup = dialog_setup(request);
    std::vector<COMDLG_FILTERSPEC> types;
    for (const FileType& type : setup.types) {
        types.push_back({type.name.c_str(), type.spec.c_str()});
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |=
        FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | (save ? FOS_OVERWRITEPROMPT : FOS_FILEMUSTEXIST);
    dialog->SetOptions(options);
    dialog->SetFileTypes(static_cast<UINT>(types.size()), types.data());
    if (!setup.default_extension.empty()) {
        dialog->SetDefaultExtension(setup.default_extension.c_str());
    }
    if (!setup.title.empty()) {
        dialog->SetTitle(setup.title.c_str());
    }
    if (!setup.folder.empty()) {
        Com<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(setup.folder.c_str(), nullptr, IID_IShellItem,
                                                  reinterpret_cast<void**>(folder.out())))) {
            dialog->SetFolder(folder.get());
        }
    }
    if (!setup.file_name.empty()) {
        dialog->SetFileName(setup.file_name.c_str());
    }
    // Cancelled, or the dialog could not be shown: nothing chosen.
    if (FAILED(dialog->Show(native_window(owner)))) {
        return std::nullopt;
    }
    Com<IShellItem> chosen;
    PWSTR path = nullptr;
    if (FAILED(dialog->GetResult(chosen.out())) ||
        FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path))) {
        return std::nullopt;
    }
    std::string result = windows::to_utf8(path);
    CoTaskMemFree(path);
    return result;
}

}  // namespace talvoro::platform
