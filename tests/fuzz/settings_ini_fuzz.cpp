// config.ini and desktop_mouse.ini, read by the program's INI reader at start-up and written when
// the language or a desktop setting changes. Beyond no crash: the readers give values inside
// their ranges, and after the language is written every other line of the file is still there,
// in order, byte for byte, so every other section's keys read as before.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "platform/file_mouse_settings.h"
#include "platform/ini_file.h"
#include "store/settings_file.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        // Without CRs at its end: the writer ends an unterminated last line with the file's own
        // break, which may follow a CR already there.
        size_t length = end - start;
        while (length > 0 && text[start + length - 1] == '\r') {
            --length;
        }
        lines.push_back(text.substr(start, length));
        start = end + 1;
    }
    return lines;
}

std::string trimmed(std::string text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    text.erase(text.begin(), std::find_if_not(text.begin(), text.end(), blank));
    return text;
}

// The writer changes one line in place, or inserts the key's line (and perhaps its section's)
// in one place: every other line of `before` is in `after`, in order, byte for byte.
bool keeps_the_other_lines(const std::vector<std::string>& before,
                           const std::vector<std::string>& after) {
    if (after.size() == before.size()) {
        size_t changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            changed += before[i] != after[i] ? 1 : 0;
        }
        return changed <= 1;
    }
    if (after.size() < before.size()) {
        return false;
    }
    const size_t inserted = after.size() - before.size();
    size_t first = 0;
    while (first < before.size() && before[first] == after[first]) {
        ++first;
    }
    return std::equal(before.begin() + static_cast<long>(first), before.end(),
                      after.begin() + static_cast<long>(first + inserted));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro;
    static const bool data_folder = [] {
        return setenv("TALVORO_DATA_DIR", fuzz::scratch_folder().c_str(), 1) == 0;
    }();
    FUZZ_CHECK(data_folder);
    const std::string path = fuzz::write_scratch_file("config.ini", data, size);
    FUZZ_CHECK(path == settings_file_path());

    const int language = read_language();
    FUZZ_CHECK(language >= 0 && language <= 3);
    const FileMouseSettings desktop(path);
    desktop.double_click_ms();
    desktop.wheel_lines();
    desktop.pointer_speed();

    // Keys of other sections, as far as a plain reading of the lines finds them. A byte-order mark
    // is no line's text: the writer may put a new section right after it.
    std::string text(reinterpret_cast<const char*>(data), size);
    const bool bom = text.rfind("\xEF\xBB\xBF", 0) == 0;
    if (bom) {
        text.erase(0, 3);
    }
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    for (const std::string& raw : lines_of(text)) {
        const std::string line = trimmed(raw);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
        } else if (const size_t equals = line.find('=');
                   equals != std::string::npos && keys.size() < 16) {
            keys.emplace_back(section, line.substr(0, equals));
        }
    }
    std::vector<std::string> values;
    for (const auto& [name, key] : keys) {
        values.push_back(ini_read_string(path, name, key, "\x01"));
    }

    const bool utf16 =
        size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
    if (!write_language(2)) {
        return 0;
    }
    FUZZ_CHECK(read_language() == 2);
    if (utf16) {
        return 0;  // written back as UTF-8: its lines are the same text in other bytes
    }
    std::string written = fuzz::read_whole_file(path);
    if (bom) {
        FUZZ_CHECK(written.rfind("\xEF\xBB\xBF", 0) == 0);
        written.erase(0, 3);
    }
    FUZZ_CHECK(keeps_the_other_lines(lines_of(text), lines_of(written)));
    for (size_t i = 0; i < keys.size(); ++i) {
        if (strcasecmp(trimmed(keys[i].first).c_str(), "Configuration Option") != 0) {
            FUZZ_CHECK(ini_read_string(path, keys[i].first, keys[i].second, "\x01") == values[i]);
        }
    }
    return 0;
}
