#include "store/store_text.h"

#include <algorithm>
#include <cstring>

#include "platform/platform_names.h"

namespace talvoro {
namespace {

bool is_continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the character a lead byte starts; 1 for anything else.
size_t sequence_length(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xE0) == 0xC0)
        return 2;
    if ((byte & 0xF0) == 0xE0)
        return 3;
    if ((byte & 0xF8) == 0xF0)
        return 4;
    return 1;
}

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

size_t fitting_length(std::string_view text, size_t max_bytes) {
    if (text.size() <= max_bytes)
        return text.size();
    // Find the start of the character the cut falls into; a UTF-8 character
    // has at most three continuation bytes.
    size_t start = max_bytes;
    for (int back = 0; back < 3 && start > 0 && is_continuation(text[start]); ++back)
        --start;
    if (start < max_bytes && start + sequence_length(text[start]) > max_bytes)
        return start;
    return max_bytes;
}

void copy_text(char* field, size_t field_size, std::string_view text) {
    if (field == nullptr || field_size == 0)
        return;
    const size_t length = fitting_length(text, field_size - 1);
    std::memmove(field, text.data(), length);  // the text may come from the field itself
    std::memset(field + length, 0, field_size - length);
}

std::string_view field_text(const char* field, size_t field_size) {
    if (field == nullptr)
        return {};
    const void* nul = std::memchr(field, 0, field_size);
    const size_t length =
        nul == nullptr ? field_size : static_cast<size_t>(static_cast<const char*>(nul) - field);
    return std::string_view(field, length);
}

void terminate_field(char* field, size_t field_size) {
    if (field == nullptr || field_size == 0 || std::memchr(field, 0, field_size) != nullptr)
        return;
    const size_t length = fitting_length(std::string_view(field, field_size), field_size - 1);
    std::memset(field + length, 0, field_size - length);
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

std::string_view file_name_part(std::string_view path) {
    const auto separator = std::find_if(path.rbegin(), path.rend(), is_path_separator);
    return path.substr(static_cast<size_t>(path.rend() - separator));
}

bool has_extension(std::string_view path) {
    const std::string_view name = file_name_part(path);
    const size_t dot = name.rfind('.');
    return dot != std::string_view::npos && dot + 1 < name.size();
}

std::string profile_display_name(std::string_view file_name) {
    constexpr std::string_view kExtension = ".qxp";
    if (file_name.size() > kExtension.size() &&
        equals_ignoring_case(file_name.substr(file_name.size() - kExtension.size()), kExtension))
        file_name.remove_suffix(kExtension.size());
    return std::string(file_name);
}

}  // namespace talvoro
