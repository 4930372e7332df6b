// Fonts on Windows: the layouts' families in the system's and the user's font folders, then the
// faces shipped in the program's "fonts" folder.
#include <windows.h>
// After windows.h, whose types it uses.
#include <shlobj.h>

#include <string>

#include "platform/windows/font_candidates.h"
#include "platform/windows/windows_text.h"
#include "render/font_locator.h"

namespace talvoro::ui {
namespace {

std::string known_folder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) {
        folder = windows::to_utf8(path);
    }
    CoTaskMemFree(path);
    return folder;
}

std::string program_folder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) {
        return {};
    }
    std::wstring folder(path, length);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return windows::to_utf8(folder);
}

class FontFolderLocator final : public FontLocator {
  public:
    FontFolderLocator() {
        folders_.system.push_back(known_folder(FOLDERID_Fonts));
        if (const std::string local = known_folder(FOLDERID_LocalAppData); !local.empty()) {
            folders_.system.push_back(local + "\\Microsoft\\Windows\\Fonts");
        }
        folders_.shipped = program_folder() + "fonts";
    }

    std::vector<FontFile> locate(const FontStyle& font, const std::string& language,
                                 char32_t codepoint) override {
        return font_candidates(font, language, codepoint, folders_, [](const std::string& path) {
            const DWORD attributes = GetFileAttributesW(windows::to_wide(path).c_str());
            return attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        });
    }

  private:
    FontFolders folders_;
};

}  // namespace

std::unique_ptr<FontLocator> make_font_locator() {
    return std::make_unique<FontFolderLocator>();
}

}  // namespace talvoro::ui
