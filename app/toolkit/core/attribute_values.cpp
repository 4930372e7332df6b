#include "core/attribute_values.h"

#include <charconv>

namespace talvoro::ui {
namespace {

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::optional<int> parse_int(std::string_view text) {
    text = trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<bool> parse_bool(std::string_view text) {
    text = trim(text);
    if (text == "true") {
        return true;
    }
    if (text == "false") {
        return false;
    }
    return std::nullopt;
}

std::optional<Size> parse_size(std::string_view text) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    auto width = parse_int(text.substr(0, comma));
    auto height = parse_int(text.substr(comma + 1));
    if (!width || !height) {
        return std::nullopt;
    }
    return Size{*width, *height};
}

std::vector<std::pair<std::string, std::string>> parse_attribute_list(std::string_view text) {
    std::vector<std::pair<std::string, std::string>> result;
    size_t i = 0;
    while (true) {
        while (i < text.size() && is_blank(text[i])) {
            ++i;
        }
        if (i >= text.size()) {
            break;
        }
        size_t equals = text.find('=', i);
        if (equals == std::string_view::npos) {
            break;
        }
        std::string_view name = trim(text.substr(i, equals - i));
        size_t quote_at = equals + 1;
        while (quote_at < text.size() && is_blank(text[quote_at])) {
            ++quote_at;
        }
        if (name.empty() || quote_at >= text.size() ||
            (text[quote_at] != '"' && text[quote_at] != '\'')) {
            break;
        }
        size_t close = text.find(text[quote_at], quote_at + 1);
        if (close == std::string_view::npos) {
            break;
        }
        result.emplace_back(std::string(name),
                            std::string(text.substr(quote_at + 1, close - quote_at - 1)));
        i = close + 1;
    }
    return result;
}

}  // namespace talvoro::ui
