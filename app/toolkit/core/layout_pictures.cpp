#include "core/layout_pictures.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <string_view>

#include "render/image_descriptor.h"

namespace talvoro::ui {
namespace {

constexpr std::array<std::string_view, 5> kFirstLooks = {"bkimage", "foreimage", "normalimage",
                                                         "selectedimage", "thumbimage"};

}  // namespace

std::vector<std::string> layout_picture_files(const std::string& layout_path) {
    pugi::xml_document document;
    if (!document.load_file(layout_path.c_str())) {
        return {};
    }
    std::vector<std::string> files;
    for (pugi::xpath_node found : document.select_nodes("//*")) {
        for (const pugi::xml_attribute& attribute : found.node().attributes()) {
            if (std::find(kFirstLooks.begin(), kFirstLooks.end(), attribute.name()) ==
                kFirstLooks.end()) {
                continue;
            }
            const auto descriptor = parse_image_descriptor(attribute.value());
            if (descriptor && !descriptor->file.empty() &&
                std::find(files.begin(), files.end(), descriptor->file) == files.end()) {
                files.push_back(descriptor->file);
            }
        }
    }
    return files;
}

}  // namespace talvoro::ui
