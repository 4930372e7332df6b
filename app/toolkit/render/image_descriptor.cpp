#include "render/image_descriptor.h"

#include <charconv>
#include <string>

#include "render/debug_log.h"

namespace talvoro::ui {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && is_blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

void report(std::string_view key, std::string_view value) {
    debug_log("image descriptor: ignored " + std::string(key) + "='" + std::string(value) + "'");
}

void apply(ImageDescriptor& descriptor, std::string_view key, std::string_view value) {
    if (key == "file") {
        descriptor.file = std::string(trim(value));
    } else if (key == "source" || key == "dest") {
        std::optional<Rect> rect = parse_rect(value);
        if (!rect) {
            report(key, value);
        } else {
            (key == "source" ? descriptor.source : descriptor.dest) = rect;
        }
    } else if (key == "mask") {
        std::optional<Color> color = parse_color(value);
        if (!color) {
            report(key, value);
        } else {
            descriptor.mask = color;
        }
    } else if (key == "fade") {
        std::string_view number = trim(value);
        int fade = -1;
        auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), fade);
        if (error != std::errc{} || end != number.data() + number.size() || fade < 0 ||
            fade > 255) {
            report(key, value);
        } else {
            descriptor.fade = static_cast<uint8_t>(fade);
        }
    }
}

}  // namespace

std::optional<ImageDescriptor> parse_image_descriptor(std::string_view text) {
    text = trim(text);
    if (text.empty()) {
        return std::nullopt;
    }
    ImageDescriptor descriptor;
    if (text.find('=') == std::string_view::npos) {
        descriptor.file = std::string(text);
        return descriptor;
    }
    while (true) {
        text = trim(text);
        if (text.empty()) {
            break;
        }
        size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            debug_log("image descriptor: trailing text '" + std::string(text) + "'");
            break;
        }
        std::string_view key = trim(text.substr(0, equals));
        text = trim(text.substr(equals + 1));
        if (text.empty() || (text.front() != '\'' && text.front() != '"')) {
            debug_log("image descriptor: unquoted value of '" + std::string(key) + "'");
            break;
        }
        char quote = text.front();
        size_t close = text.find(quote, 1);
        if (close == std::string_view::npos) {
            debug_log("image descriptor: unterminated value of '" + std::string(key) + "'");
            break;
        }
        apply(descriptor, key, text.substr(1, close - 1));
        text = text.substr(close + 1);
    }
    if (descriptor.file.empty()) {
        return std::nullopt;
    }
    return descriptor;
}

}  // namespace talvoro::ui
