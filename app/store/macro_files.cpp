#include "store/macro_files.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "atomic_file.h"
#include "file_reading.h"
#include "platform/platform_names.h"
#include "platform/program_paths.h"
#include "store/profile_files.h"
#include "store/store_text.h"

namespace talvoro {

std::string macro_store_path() {
    return profile_folder() + "Macros";
}

std::string macro_files_folder() {
    return data_directory() + "macro_files" + kPathSeparator;
}

void make_macro_store_safe(MacroStore& macros) {
    const int32_t count = macros.macro_count;
    macros.macro_count = std::clamp<int32_t>(count, 0, kMacroLimit);
    for (MacroRecord& record : macros.macros) {
        const int32_t steps = record.step_count;
        record.step_count = std::clamp<int32_t>(steps, 0, kMacroSteps);
        terminate_field(record.name);
        for (MacroStep& step : record.steps) {
            terminate_field(step.kind);
            terminate_field(step.text);
            terminate_field(step.action);
        }
    }
}

int read_macro_store(MacroStore& macros, const std::string& path) {
    std::vector<unsigned char> buffer(sizeof(MacroStore), 0);
    const FileReadResult result =
        read_file_prefix(path.empty() ? macro_store_path() : path, buffer.data(), buffer.size());
    if (result.status == FileReadStatus::kCannotOpen)
        return kStoreCannotOpen;
    if (result.status == FileReadStatus::kEmpty)
        return kStoreEmpty;
    std::memcpy(&macros, buffer.data(), sizeof macros);
    make_macro_store_safe(macros);
    return kStoreRead;
}

int write_macro_store(const MacroStore& macros, const std::string& path) {
    return write_file_atomically(path.empty() ? macro_store_path() : path, &macros, sizeof macros)
               ? 1
               : 0;
}

int import_macro_file(MacroStore& macros, const std::string& path) {
    const int result = read_macro_store(macros, path);
    if (result == kStoreRead && !path.empty() && path != macro_store_path())
        // The macros are in memory either way; they reach the store file with the next apply,
        // which tells when it cannot write it.
        static_cast<void>(write_macro_store(macros, {}));
    return result;
}

int export_macro_file(const MacroStore& macros, const std::string& path) {
    if (path.empty())
        return 0;  // an export always names its file; the store file is not exported over
    return write_macro_store(macros, path);
}

}  // namespace talvoro
