// Every picture any layout names, as the skin maker draws it: present in all four folders,
// loadable by the toolkit, big enough for every cell the layouts cut from it, and of the size
// of the control that shows it, so that nothing is stretched.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "drawn_skins.h"
#include "render/image_descriptor.h"
#include "render/rect.h"

namespace talvoro::skins::test {
namespace {

// One start tag of a layout.
struct Element {
    std::string layout;
    std::string tag;
    std::map<std::string, std::string> attributes;
    bool is_root = false;  // the window's top container, as large as the window
};

struct Layout {
    std::string file;
    std::optional<ui::Size> window_size;
    std::vector<Element> elements;
};

std::optional<ui::Size> parse_size(const std::string& text) {
    int width = 0;
    int height = 0;
    if (std::sscanf(text.c_str(), "%d,%d", &width, &height) != 2) {
        return std::nullopt;
    }
    return ui::Size{width, height};
}

// The layouts use double-quoted attribute values without '>' inside, which a regular
// expression reads reliably.
Layout read_layout(const std::filesystem::path& path) {
    std::ifstream in(path);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Layout layout{path.filename().string(), std::nullopt, {}};
    static const std::regex kTag(R"(<([A-Za-z]+)\s([^>]*)>)");
    static const std::regex kAttribute(R"re(([A-Za-z]+)="([^"]*)")re");
    bool root_seen = false;
    for (auto tag = std::sregex_iterator(text.begin(), text.end(), kTag);
         tag != std::sregex_iterator(); ++tag) {
        Element element{layout.file, (*tag)[1], {}, false};
        const std::string body = (*tag)[2];
        for (auto attribute = std::sregex_iterator(body.begin(), body.end(), kAttribute);
             attribute != std::sregex_iterator(); ++attribute) {
            element.attributes[(*attribute)[1]] = (*attribute)[2];
        }
        if (element.tag == "Window") {
            layout.window_size = parse_size(element.attributes["size"]);
            continue;
        }
        if (element.tag == "Font") {
            continue;
        }
        element.is_root = !root_seen && layout.window_size.has_value();
        root_seen = true;
        layout.elements.push_back(element);
    }
    return layout;
}

std::vector<Layout> all_layouts() {
    std::vector<Layout> layouts;
    for (const auto& entry : std::filesystem::directory_iterator(TALVORO_LAYOUTS_DIR)) {
        if (entry.path().extension() == ".xml") {
            layouts.push_back(read_layout(entry.path()));
        }
    }
    return layouts;
}

bool is_image_attribute(const std::string& name) {
    return name.ends_with("image");
}

// The size a control takes: its pos, or its width and height where pos gives only the corner.
std::optional<ui::Size> control_size(const Element& element, const Layout& layout) {
    if (element.is_root) {
        return layout.window_size;
    }
    const auto pos = element.attributes.find("pos");
    if (pos == element.attributes.end()) {
        return std::nullopt;
    }
    std::optional<ui::Rect> rect = ui::parse_rect(pos->second);
    if (!rect) {
        return std::nullopt;
    }
    ui::Size size{rect->width(), rect->height()};
    if (rect->right <= rect->left && element.attributes.count("width")) {
        size.width = std::stoi(element.attributes.at("width"));
    }
    if (rect->bottom <= rect->top && element.attributes.count("height")) {
        size.height = std::stoi(element.attributes.at("height"));
    }
    if (size.width <= 0 || size.height <= 0) {
        return std::nullopt;
    }
    return size;
}

std::string where(const Element& element, const std::string& attribute) {
    const auto name = element.attributes.find("name");
    return element.layout + " " + element.tag + " \"" +
           (name == element.attributes.end() ? std::string() : name->second) + "\" " + attribute;
}

class LayoutPictures : public ::testing::Test {
  protected:
    void SetUp() override {
        layouts_ = all_layouts();
        ASSERT_EQ(layouts_.size(), 9u);
    }

    // Calls `check` with each picture attribute of every layout.
    template <typename Check>
    void for_each_picture(Check check) {
        for (const Layout& layout : layouts_) {
            for (const Element& element : layout.elements) {
                for (const auto& [name, value] : element.attributes) {
                    if (!is_image_attribute(name)) {
                        continue;
                    }
                    std::optional<ui::ImageDescriptor> descriptor =
                        ui::parse_image_descriptor(value);
                    ASSERT_TRUE(descriptor.has_value()) << where(element, name) << ": " << value;
                    check(layout, element, name, *descriptor);
                }
            }
        }
    }

    const ui::Image* picture(const std::string& folder, const std::string& file) {
        const std::string key = folder + "/" + file;
        auto it = pictures_.find(key);
        if (it == pictures_.end()) {
            it = pictures_.emplace(key, load_skin_picture(folder, file)).first;
        }
        return it->second ? &*it->second : nullptr;
    }

    std::vector<Layout> layouts_;
    std::map<std::string, std::optional<ui::Image>> pictures_;
};

TEST_F(LayoutPictures, EveryPictureALayoutNamesExistsInEveryFolderAndLoads) {
    std::set<std::string> named;
    for_each_picture([&](const Layout&, const Element& element, const std::string& attribute,
                         const ui::ImageDescriptor& descriptor) {
        named.insert(descriptor.file);
        for (const char* folder : kSkinFolders) {
            const ui::Image* image = picture(folder, descriptor.file);
            EXPECT_NE(image, nullptr)
                << folder << "/" << descriptor.file << " for " << where(element, attribute);
            if (image != nullptr) {
                EXPECT_FALSE(image->empty()) << folder << "/" << descriptor.file;
            }
        }
    });
    // The layouts name the skin's pictures, not a handful of them.
    EXPECT_GT(named.size(), 55u);
}

TEST_F(LayoutPictures, EveryCellALayoutCutsLiesInsideItsPicture) {
    for_each_picture([&](const Layout&, const Element& element, const std::string& attribute,
                         const ui::ImageDescriptor& descriptor) {
        if (!descriptor.source) {
            return;
        }
        const ui::Rect& source = *descriptor.source;
        EXPECT_FALSE(source.empty()) << where(element, attribute);
        for (const char* folder : kSkinFolders) {
            const ui::Image* image = picture(folder, descriptor.file);
            if (image == nullptr) {
                continue;  // reported by the test above
            }
            EXPECT_EQ(source.intersect(image->bounds()), source)
                << folder << "/" << descriptor.file << " is " << image->width() << "x"
                << image->height() << ", too small for " << where(element, attribute);
        }
    });
}

TEST_F(LayoutPictures, CellsAndPicturesHaveTheirControlsSizeSoNothingIsStretched) {
    for_each_picture([&](const Layout& layout, const Element& element, const std::string& attribute,
                         const ui::ImageDescriptor& descriptor) {
        // A slider's track and fill stretch along it by design; its thumb has its own size.
        if (element.tag == "Slider" && (attribute == "bkimage" || attribute == "foreimage")) {
            return;
        }
        std::optional<ui::Size> size = control_size(element, layout);
        if (attribute.starts_with("thumb")) {
            size = parse_size(element.attributes.at("thumbsize"));
        }
        if (!size || descriptor.dest) {
            return;
        }
        if (descriptor.source) {
            EXPECT_EQ(descriptor.source->width(), size->width) << where(element, attribute);
            EXPECT_EQ(descriptor.source->height(), size->height) << where(element, attribute);
            return;
        }
        // A whole picture: as the layout sizes the control, before the program widens any
        // for German, so the English folder.
        const ui::Image* image = picture(kSkinFolders[0], descriptor.file);
        if (image != nullptr) {
            EXPECT_EQ(image->width(), size->width)
                << descriptor.file << " for " << where(element, attribute);
            EXPECT_EQ(image->height(), size->height)
                << descriptor.file << " for " << where(element, attribute);
        }
    });
}

}  // namespace
}  // namespace talvoro::skins::test
