// UTF-8 everywhere in the code, UTF-16 at the Windows calls: the conversions, done where a path
// or a name crosses that line, and the other texts every Windows part needs (error messages,
// environment variables).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvoro::windows {

// Bytes that are not UTF-8 become U+FFFD, so a broken name fails to open rather than open some
// other file.
std::wstring to_wide(std::string_view text);
// Unpaired surrogates (possible in NTFS names) become U+FFFD.
std::string to_utf8(std::wstring_view text);

// The system's text for an error code (GetLastError), with the code itself.
std::string error_text(unsigned long code);

// The variable's value as UTF-8, read from the process environment block in UTF-16 (the C
// runtime's getenv sees only its own copy from start, in the ANSI code page); nothing when it is
// not set. An empty value is an empty string.
std::optional<std::string> environment_variable(const char* name);

}  // namespace talvoro::windows
