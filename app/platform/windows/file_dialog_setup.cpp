#include "platform/windows/file_dialog_setup.h"

#include "platform/windows/windows_text.h"

namespace talvoro::platform {

DialogSetup dialog_setup(const ui::FileChooserRequest& request) {
    DialogSetup setup;
    std::wstring spec;
    for (const std::string& pattern : request.patterns) {
        spec += (spec.empty() ? L"" : L";") + windows::to_wide(pattern);
    }
    if (!request.filter_name.empty() || !spec.empty()) {
        setup.types.push_back({windows::to_wide(request.filter_name.empty() ? request.patterns[0]
                                                                            : request.filter_name),
                               spec.empty() ? L"*.*" : spec});
    }
    if (request.offer_all_files || setup.types.empty()) {
        setup.types.push_back({windows::to_wide(ui::kAllFilesFilterName), L"*.*"});
    }
    // Either separator may end the folder: the program builds paths with '\', callers may not.
    const size_t split = request.initial_path.find_last_of("\\/");
    if (split == std::string::npos) {
        setup.file_name = windows::to_wide(request.initial_path);
    } else {
        setup.folder = windows::to_wide(request.initial_path.substr(0, split + 1));
        setup.file_name = windows::to_wide(request.initial_path.substr(split + 1));
    }
    setup.default_extension = windows::to_wide(request.default_extension);
    setup.title = windows::to_wide(request.title);
    return setup;
}

}  // namespace talvoro::platform
