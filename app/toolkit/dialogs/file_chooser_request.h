// What a file chooser is asked for, whoever shows it (the desktop's chooser or the toolkit's own),
// and the file-name rules every one of them follows.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace talvoro::ui {

struct FileChooserRequest {
    enum class Mode { kOpen, kSave } mode = Mode::kOpen;
    std::string title;                  // empty: "Open" or "Save As"
    std::string filter_name;            // "QX profile (*.qxp)"
    std::vector<std::string> patterns;  // {"*.qxp"}; empty: every file
    std::string default_extension;      // "qxp": appended on save when the name has none
    std::string initial_path;           // folder + suggested file name
    bool offer_all_files = false;       // a second filter, kAllFilesFilterName
};

// The name of the filter that shows every file, whichever chooser shows it.
inline constexpr const char* kAllFilesFilterName = "All files(*.*)";

// True when the file-name part of `path` has an extension: a '.' after its first character
// and before its last.
bool has_extension(std::string_view path);
// `path`, with "." + `extension` appended when its name has none and `extension` is not empty.
std::string with_default_extension(std::string path, std::string_view extension);

// What a save writes when a desktop chooser answered `chosen`: `chosen` with the default
// extension. `unasked_replace` when adding the extension named a file that exists: the chooser
// asked about replacing the name as typed, never about that file.
struct SaveChoice {
    std::string path;
    bool unasked_replace = false;
};
SaveChoice completed_save_choice(std::string chosen, std::string_view extension);

}  // namespace talvoro::ui
