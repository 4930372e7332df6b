#include "support/ui_dump_reader.h"

#include <fstream>
#include <regex>

namespace talvoro::test {
namespace {

// A JSON string's contents, escapes included.
const std::string kJsonText = "(?:[^\"\\\\]|\\\\.)*";
const std::string kRect = "\\[(-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)\\]";

// The first line of the dump that `pattern` matches.
std::optional<std::smatch> first_match(const std::string& path, const std::regex& pattern,
                                       std::string& line) {
    std::ifstream in(path);
    while (std::getline(in, line)) {
        std::smatch match;
        if (std::regex_search(line, match, pattern)) {
            return match;
        }
    }
    return std::nullopt;
}

// The rectangle in groups 1 to 4 of the first line `pattern` matches.
std::optional<DumpedRect> first_rect(const std::string& path, const std::regex& pattern) {
    std::string line;
    const auto match = first_match(path, pattern, line);
    if (!match) {
        return std::nullopt;
    }
    return DumpedRect{std::stoi((*match)[1]), std::stoi((*match)[2]), std::stoi((*match)[3]),
                      std::stoi((*match)[4])};
}

}  // namespace

int UiDumpReader::scale() const {
    std::string line;
    const auto match = first_match(path_, std::regex("\"scale\":(\\d+)"), line);
    return match ? std::stoi((*match)[1]) : 0;
}

std::string UiDumpReader::focused() const {
    std::string line;
    const auto match = first_match(path_, std::regex("\"focused\":\"(" + kJsonText + ")\""), line);
    return match ? std::string((*match)[1]) : std::string();
}

std::optional<DumpedControl> UiDumpReader::control(const std::string& name) const {
    const std::regex pattern("\"name\":\"" + name + "\",\"rect\":" + kRect +
                             ",\"visible\":(true|false),\"text\":\"" + kJsonText +
                             "\"(?:,\"selected\":(true|false))?");
    std::string line;
    const auto match = first_match(path_, pattern, line);
    if (!match) {
        return std::nullopt;
    }
    DumpedControl control{{std::stoi((*match)[1]), std::stoi((*match)[2]), std::stoi((*match)[3]),
                           std::stoi((*match)[4])},
                          (*match)[5] == "true",
                          std::nullopt};
    if ((*match)[6].matched) {
        control.selected = (*match)[6] == "true";
    }
    return control;
}

std::string UiDumpReader::text(const std::string& name) const {
    const std::regex pattern("\"name\":\"" + name +
                             "\",\"rect\":\\[[-\\d,]+\\],\"visible\":(?:true|false),\"text\":\"(" +
                             kJsonText + ")\"");
    std::string line;
    const auto match = first_match(path_, pattern, line);
    return match ? std::string((*match)[1]) : std::string();
}

bool UiDumpReader::shown(const std::string& name) const {
    const auto found = control(name);
    return found && found->visible;
}

bool UiDumpReader::selected(const std::string& name) const {
    const auto found = control(name);
    return found && found->selected.value_or(false);
}

std::optional<DumpedRect> UiDumpReader::menu_entry(int command) const {
    return first_rect(
        path_,
        std::regex("\\{\"window\":\"" + kJsonText + "\",\"menu\":\\d+,\"text\":\"" + kJsonText +
                   "\",\"rect\":" + kRect + ",\"command\":" + std::to_string(command) + ","));
}

std::optional<DumpedRect> UiDumpReader::drop_item(int index) const {
    return first_rect(
        path_, std::regex("\\{\"window\":\"" + kJsonText + "\",\"index\":" + std::to_string(index) +
                          ",\"text\":\"" + kJsonText + "\",\"rect\":" + kRect + "\\}"));
}

}  // namespace talvoro::test
