// The macro store file (data folder + "profile/Macros") and exported macro
// files (.qxm): both are the raw MacroStore, 2,053,284 bytes, no header.
#pragma once

#include <string>

#include "store/profile_store.h"

namespace talvoro {

// data_directory() + "profile/Macros", with the platform's separator.
std::string macro_store_path();
// data_directory() + "macro_files/" (the platform's separator), the folder the macro dialogs start
// in.
std::string macro_files_folder();

// Brings a MacroStore that came from a file into the program's limits:
// macro_count into 0..15, every record's step_count into 0..256, every text
// ending with a NUL.
void make_macro_store_safe(MacroStore& macros);

// Replaces the whole MacroStore with the file (an empty path means the store
// file): the file's first bytes, the rest zero, then made safe as above.
// Returns kStoreRead, kStoreCannotOpen or kStoreEmpty (profile_files.h); on
// the last two nothing changes.
[[nodiscard]] int read_macro_store(MacroStore& macros, const std::string& path);
// Writes the whole MacroStore; an empty path means the store file. 1 when
// written, 0 when the file cannot be written.
[[nodiscard]] int write_macro_store(const MacroStore& macros, const std::string& path);

// Import: reads the file over the MacroStore, then, unless `path` is the
// store file itself, writes the store file. Returns the read's result; the
// macro page rebuilds its lists when it is kStoreRead.
[[nodiscard]] int import_macro_file(MacroStore& macros, const std::string& path);
// Export: writes the MacroStore to `path`. 1 when written, else 0.
[[nodiscard]] int export_macro_file(const MacroStore& macros, const std::string& path);

}  // namespace talvoro
