// INI files with the behaviour of Windows private-profile files, so that a
// config.ini written by hand or by the Windows edition reads the same here.
//
// Reading: section and key names compare without regard to ASCII case and
// with blanks around them ignored; the first matching section and the first
// matching key in it count. Lines before the first section and lines starting
// with ';' or '#' are never keys. A value is the text after the first '=',
// with blanks around it removed and one pair of matching quotes stripped.
// A UTF-8 byte-order mark is skipped; a UTF-16 file is read as its text.
//
// Writing changes only the one value (or appends the key or the section) and
// keeps every other line byte for byte, comments and spelling included; a
// UTF-16 file is written back as UTF-8 with a byte-order mark.
#pragma once

#include <string>

namespace talvoro {

// Files above this size are not INI files we wrote or anyone edits by hand;
// only their first kMaxIniBytes bytes are read, and they are never rewritten
// (rewriting would drop the rest).
inline constexpr size_t kMaxIniBytes = 1024 * 1024;

// The value of `key`, or `default_value` when the file, section or key is
// missing or the value is empty.
std::string ini_read_string(const std::string& path, const std::string& section,
                            const std::string& key, const std::string& default_value);

// The value as an integer: optional blanks and sign, then the leading
// decimal digits ("12abc" is 12, "abc" is 0, "0x10" is 0), saturated to the
// int range. A missing file, section or key, or an empty value, gives
// `default_value`.
int ini_read_int(const std::string& path, const std::string& section, const std::string& key,
                 int default_value);

// Sets `key` in `section` to `value`, creating the file, the section or the
// key as needed, and writes the file atomically. Refuses (false) names or
// values that would break the line structure: line breaks or NULs anywhere,
// ']' in the section, '=' in the key, an empty key or blank-only names.
bool ini_write_string(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value);

}  // namespace talvoro
