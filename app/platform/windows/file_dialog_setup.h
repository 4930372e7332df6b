// What the common item dialogs are given for a request: the file types, the folder they open in
// and the name they suggest.
#pragma once

#include <string>
#include <vector>

#include "dialogs/file_chooser_request.h"

namespace talvoro::platform {

struct FileType {
    std::wstring name;  // "QX profile (*.qxp)"
    std::wstring spec;  // "*.qxp", several joined by ';'
};

struct DialogSetup {
    std::vector<FileType> types;  // the request's filter, then all files when offered
    std::wstring folder;          // empty: the dialog's own choice
    std::wstring file_name;       // the suggested name
    std::wstring default_extension;
    std::wstring title;
};

DialogSetup dialog_setup(const ui::FileChooserRequest& request);

}  // namespace talvoro::platform
