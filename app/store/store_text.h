// Texts in the store's fixed fields. Fields hold UTF-8 (the locale's
// character set) and end with a NUL; a text too long for its field is cut at
// a character boundary, never in the middle of a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvoro {

// Length of the longest start of `text` that fits in `max_bytes` bytes and
// ends on a character boundary. Bytes that are not valid UTF-8 count as
// characters of one byte each.
size_t fitting_length(std::string_view text, size_t max_bytes);

// Stores `text` in a field of `field_size` bytes: cut to fit with its NUL,
// the rest of the field zero (so files carry no stale bytes).
void copy_text(char* field, size_t field_size, std::string_view text);
template <size_t N>
void copy_text(char (&field)[N], std::string_view text) {
    copy_text(field, N, text);
}

// The text of a field, up to its NUL or, when a file left it without one,
// up to the field's end.
std::string_view field_text(const char* field, size_t field_size);
template <size_t N>
std::string_view field_text(const char (&field)[N]) {
    return field_text(field, N);
}

// Makes sure a field read from a file ends with a NUL, cutting an
// unterminated text at a character boundary.
void terminate_field(char* field, size_t field_size);
template <size_t N>
void terminate_field(char (&field)[N]) {
    terminate_field(field, N);
}

// Byte-wise comparison ignoring ASCII case.
bool equals_ignoring_case(std::string_view a, std::string_view b);

// The part of a path after its last folder separator.
std::string_view file_name_part(std::string_view path);

// True when the file name part has an extension: a '.' followed by at least
// one character.
bool has_extension(std::string_view path);

// A profile's name as the pages show it: `file_name` without a final ".qxp"
// (any case) when at least one character comes before it.
std::string profile_display_name(std::string_view file_name);

}  // namespace talvoro
