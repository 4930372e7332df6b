// The one setting kept outside the profiles: the interface language, in
// config.ini of the data folder, section "Configuration Option", key "lang".
#pragma once

#include <string>

namespace talvoro {

// data_directory() + "config.ini".
std::string settings_file_path();

// The stored language index. A missing file or key gives 0, and so does a
// value outside 0..3, which no language table has a column for.
int read_language();

// Stores the index as two digits ("00" .. "03"). A failed write leaves the
// language in use for the run; the result is only for callers that care.
[[nodiscard]] bool write_language(int language);

}  // namespace talvoro
