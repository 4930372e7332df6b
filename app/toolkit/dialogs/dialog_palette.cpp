#include "dialogs/dialog_palette.h"

#include <utility>

namespace talvoro::ui {
namespace {

constexpr std::pair<std::string_view, std::string_view> kColors[] = {
    {"window", "#FF0E0E11"},         {"panel", "#FF16161B"},      {"line", "#FF2A2A31"},
    {"field", "#FF000000"},          {"text", "#FFFFFFFF"},       {"secondary", "#FFA3A3AD"},
    {"accent", "#FFFF3C3C"},         {"accent_hot", "#FFFF5C5C"}, {"accent_pressed", "#FFC82A2A"},
    {"accent_dark", "#FF3C3C3C"},    {"button", "#FF24242B"},     {"button_hot", "#FF30303A"},
    {"button_pressed", "#FF3C3C3C"}, {"row_hot", "#FF202027"},
};

}  // namespace

std::string with_dialog_palette(std::string_view layout) {
    std::string out;
    out.reserve(layout.size());
    while (!layout.empty()) {
        const size_t open = layout.find('{');
        out += layout.substr(0, open);
        if (open == std::string_view::npos) {
            break;
        }
        layout.remove_prefix(open);
        const size_t close = layout.find('}');
        std::string_view replacement;
        if (close != std::string_view::npos) {
            for (const auto& [name, color] : kColors) {
                if (layout.substr(1, close - 1) == name) {
                    replacement = color;
                }
            }
        }
        if (replacement.empty()) {
            out += '{';
            layout.remove_prefix(1);
        } else {
            out += replacement;
            layout.remove_prefix(close + 1);
        }
    }
    return out;
}

}  // namespace talvoro::ui
