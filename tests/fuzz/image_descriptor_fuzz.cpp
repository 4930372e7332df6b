// The picture attributes of layouts and of the program's own strings ("file='x.bmp'
// source='l,t,r,b' mask='0xFF..'"). Beyond no crash: a descriptor is only made when a file is
// named, and a parsed descriptor written back in the same form parses to the same descriptor.
#include <cstdio>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "render/image_descriptor.h"

namespace {

std::string rect_text(const talvoro::ui::Rect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace talvoro::ui;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<ImageDescriptor> parsed = parse_image_descriptor(text);
    if (!parsed) {
        return 0;
    }
    FUZZ_CHECK(!parsed->file.empty());
    if (parsed->file.find('\'') != std::string::npos) {
        return 0;  // a quote in the name cannot be written back in quotes
    }
    std::string again = "file='" + parsed->file + "'";
    if (parsed->source) {
        again += " source='" + rect_text(*parsed->source) + "'";
    }
    if (parsed->dest) {
        again += " dest='" + rect_text(*parsed->dest) + "'";
    }
    if (parsed->mask) {
        const Color color = *parsed->mask;
        char mask[16];
        std::snprintf(mask, sizeof mask, "0x%02X%02X%02X%02X", color.a, color.r, color.g, color.b);
        again += std::string(" mask='") + mask + "'";
    }
    again += " fade='" + std::to_string(parsed->fade) + "'";
    const std::optional<ImageDescriptor> reparsed = parse_image_descriptor(again);
    FUZZ_CHECK(reparsed.has_value() && *reparsed == *parsed);
    return 0;
}
