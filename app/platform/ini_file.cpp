#include "platform/ini_file.h"

#include <climits>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "atomic_file.h"
#include "file_reading.h"

namespace talvoro {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

void append_utf8(std::string& out, uint32_t code_point) {
    if (code_point < 0x80) {
        out += static_cast<char>(code_point);
    } else if (code_point < 0x800) {
        out += static_cast<char>(0xC0 | (code_point >> 6));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else if (code_point < 0x10000) {
        out += static_cast<char>(0xE0 | (code_point >> 12));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code_point >> 18));
        out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code_point & 0x3F));
    }
}

// Windows editors save INI files as UTF-16 when asked for "Unicode".
std::string utf16_to_utf8(std::string_view bytes, bool big_endian) {
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unit_at = [&](size_t i) -> uint32_t {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return big_endian ? (first << 8 | second) : (second << 8 | first);
    };
    for (size_t i = 0; i < units; ++i) {
        const uint32_t unit = unit_at(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
            const uint32_t low = unit_at(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                append_utf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        append_utf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? 0xFFFD : unit);
    }
    return out;
}

struct IniText {
    std::string bom;   // written back in front of the body
    std::string body;  // UTF-8 text without the mark
};

IniText split_encoding(const std::string& bytes) {
    IniText text;
    if (bytes.size() >= 2 &&
        (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0)) {
        // Kept as UTF-8 from now on; the mark says the file is Unicode.
        text.bom = kUtf8Bom;
        text.body = utf16_to_utf8(std::string_view(bytes).substr(2), bytes[0] == '\xFE');
    } else if (bytes.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0) {
        text.bom = kUtf8Bom;
        text.body = bytes.substr(kUtf8Bom.size());
    } else {
        text.body = bytes;
    }
    return text;
}

// Where `key` of `section` is, or where it would go.
struct KeyLocation {
    bool section_found = false;
    size_t section_end = 0;  // just after the section's last non-blank line
    bool key_found = false;
    size_t name_end = 0;     // end of the key's name
    size_t value_begin = 0;  // first byte of the value (after '=' and blanks)
    size_t content_end = 0;  // end of the line, before its line break
    bool has_equals = false;
    std::string_view value;  // trimmed value
};

KeyLocation locate(std::string_view body, std::string_view section, std::string_view key) {
    KeyLocation found;
    bool in_target = false;
    size_t begin = 0;
    while (begin < body.size()) {
        size_t newline = body.find('\n', begin);
        const size_t line_end = newline == std::string_view::npos ? body.size() : newline;
        const size_t next = newline == std::string_view::npos ? body.size() : newline + 1;
        size_t content_end = line_end;
        if (content_end > begin && body[content_end - 1] == '\r')
            --content_end;
        const std::string_view line = body.substr(begin, content_end - begin);
        const std::string_view trimmed = trim(line);

        if (!trimmed.empty() && trimmed.front() == '[') {
            const size_t close = trimmed.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                if (in_target)
                    break;  // only the first matching section counts
                in_target = same_name(trim(trimmed.substr(1, close - 1)), section);
                if (in_target) {
                    found.section_found = true;
                    found.section_end = next;
                }
                begin = next;
                continue;
            }
        }
        if (in_target && !trimmed.empty())
            found.section_end = next;
        if (in_target && !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#') {
            const size_t equals = line.find('=');
            const std::string_view raw_name = line.substr(0, equals);
            if (same_name(trim(raw_name), key)) {
                found.key_found = true;
                found.content_end = content_end;
                found.name_end = begin + raw_name.find_last_not_of(" \t\r\v\f") + 1;
                if (equals != std::string_view::npos) {
                    found.has_equals = true;
                    size_t value_begin = begin + equals + 1;
                    while (value_begin < content_end && is_blank(body[value_begin]))
                        ++value_begin;
                    found.value_begin = value_begin;
                    found.value = trim(line.substr(equals + 1));
                }
                break;
            }
        }
        begin = next;
    }
    return found;
}

std::optional<std::string> read_value(const std::string& path, const std::string& section,
                                      const std::string& key) {
    const FileText file = read_file_text(path, kMaxIniBytes);
    if (file.status != FileReadStatus::kRead)
        return std::nullopt;
    const IniText text = split_encoding(file.bytes);
    const KeyLocation location = locate(text.body, trim(section), trim(key));
    if (!location.key_found)
        return std::nullopt;
    std::string_view value = location.value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

bool breaks_lines(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool path_exists(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_type type = fs::symlink_status(fs::u8path(path), error).type();
    return type != fs::file_type::not_found && type != fs::file_type::none;
}

}  // namespace

std::string ini_read_string(const std::string& path, const std::string& section,
                            const std::string& key, const std::string& default_value) {
    std::optional<std::string> value = read_value(path, section, key);
    if (!value || value->empty())
        return default_value;
    return *value;
}

int ini_read_int(const std::string& path, const std::string& section, const std::string& key,
                 int default_value) {
    const std::optional<std::string> value = read_value(path, section, key);
    if (!value || value->empty())
        return default_value;
    std::string_view digits = trim(*value);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t{INT_MAX} + 1)
            magnitude = int64_t{INT_MAX} + 1;  // saturates; keeps the product in range
    }
    if (negative)
        return static_cast<int>(-magnitude);  // -(INT_MAX + 1) is INT_MIN
    return static_cast<int>(magnitude > INT_MAX ? INT_MAX : magnitude);
}

bool ini_write_string(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value) {
    const std::string_view section_name = trim(section);
    const std::string_view key_name = trim(key);
    if (section_name.empty() || key_name.empty() || breaks_lines(section) || breaks_lines(key) ||
        breaks_lines(value) || section_name.find(']') != std::string_view::npos ||
        key_name.find('=') != std::string_view::npos || key_name.front() == ';' ||
        key_name.front() == '#' || key_name.front() == '[')
        return false;

    const FileText file = read_file_text(path, kMaxIniBytes);
    if (file.truncated)
        return false;
    // A file that exists but cannot be read must not be replaced by one that
    // holds only our key.
    if (file.status == FileReadStatus::kCannotOpen && path_exists(path))
        return false;

    IniText text = split_encoding(file.bytes);
    std::string& body = text.body;
    const size_t first_newline = body.find('\n');
    const std::string eol =
        (first_newline != std::string::npos && first_newline > 0 && body[first_newline - 1] == '\r')
            ? "\r\n"
            : "\n";

    const KeyLocation location = locate(body, section_name, key_name);
    const std::string entry = std::string(key_name) + "=" + value;
    if (location.key_found && location.has_equals) {
        body.replace(location.value_begin, location.content_end - location.value_begin, value);
    } else if (location.key_found) {
        // A bare "key" line gets its value.
        body.replace(location.name_end, location.content_end - location.name_end, "=" + value);
    } else if (location.section_found) {
        const size_t at = location.section_end;
        const bool needs_break = at > 0 && body[at - 1] != '\n';
        body.insert(at, (needs_break ? eol : "") + entry + eol);
    } else {
        if (!body.empty() && body.back() != '\n')
            body += eol;
        body += "[" + std::string(section_name) + "]" + eol + entry + eol;
    }

    const std::string bytes = text.bom + body;
    return write_file_atomically(path, bytes.data(), bytes.size());
}

}  // namespace talvoro
