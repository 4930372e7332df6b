// The desktop icon: the scalable SVG stays a plain, self-contained file, and every PNG the real
// talvoro_icon_maker draws is the SVG's design at that size: the tile's shape, the mouse's
// extent, the accent's place and the colours all come from the SVG.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "render/color.h"
#include "render/image.h"
#include "render/png_writer.h"
#include "support/program_run.h"
#include "support/temp_folder.h"

namespace talvoro::packaging::test {
namespace {

using ui::Color;
using ui::Image;

constexpr std::array kSizes{16, 24, 32, 48, 64, 128, 256};
constexpr double kDesignSize = 256;
constexpr Color kAccent = Color::from_argb(0xFFFF3C3C);
// The style's palette: surfaces, border, texts and the accent.
const std::set<uint32_t> kPalette{0xFF0E0E11, 0xFF16161B, 0xFF2A2A31,
                                  0xFFFFFFFF, 0xFFA3A3AD, 0xFFFF3C3C};

// Left, top, right, bottom in design units, or pixels once scaled.
struct Box {
    double left = 1e9;
    double top = 1e9;
    double right = -1e9;
    double bottom = -1e9;

    void add(double x, double y, double margin = 0) {
        left = std::min(left, x - margin);
        top = std::min(top, y - margin);
        right = std::max(right, x + margin);
        bottom = std::max(bottom, y + margin);
    }
    // The pixel's square, so that a box of pixels ends one past its last pixel.
    void add_pixel(int x, int y) {
        add(x, y);
        add(x + 1, y + 1);
    }
    Box scaled(double by) const { return Box{left * by, top * by, right * by, bottom * by}; }
    bool empty() const { return right < left; }
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << box.left << "," << box.top << "," << box.right << "," << box.bottom;
}

void expect_near_box(const Box& actual, const Box& expected, double tolerance,
                     const std::string& what) {
    EXPECT_NEAR(actual.left, expected.left, tolerance) << what << " " << actual;
    EXPECT_NEAR(actual.top, expected.top, tolerance) << what << " " << actual;
    EXPECT_NEAR(actual.right, expected.right, tolerance) << what << " " << actual;
    EXPECT_NEAR(actual.bottom, expected.bottom, tolerance) << what << " " << actual;
}

// The shapes of the SVG the PNGs have to agree with.
struct SvgDesign {
    Box tile;  // outer edge of the tile's border
    double tile_radius = 0;
    Box mouse;   // the outline path with its stroke
    Box accent;  // the lines in the accent colour, with their round ends
    std::set<uint32_t> colors;
};

SvgDesign read_design(const pugi::xml_node& svg) {
    SvgDesign design;
    const pugi::xml_node tile = svg.child("rect");
    const double border = tile.attribute("stroke-width").as_double();
    design.tile = Box{
        tile.attribute("x").as_double() - border / 2, tile.attribute("y").as_double() - border / 2,
        tile.attribute("x").as_double() + tile.attribute("width").as_double() + border / 2,
        tile.attribute("y").as_double() + tile.attribute("height").as_double() + border / 2};
    design.tile_radius = tile.attribute("rx").as_double() + border / 2;

    const pugi::xml_node path = svg.child("path");
    std::string d = path.attribute("d").value();
    std::replace_if(
        d.begin(), d.end(), [](unsigned char c) { return std::isalpha(c) || c == ','; }, ' ');
    std::istringstream numbers(d);
    double x = 0, y = 0;
    while (numbers >> x >> y) {
        design.mouse.add(x, y, path.attribute("stroke-width").as_double() / 2);
    }

    for (const pugi::xpath_node& node : svg.select_nodes("//*[local-name()='line']")) {
        const pugi::xml_node line = node.node();
        const std::optional<Color> color = ui::parse_color(line.attribute("stroke").value());
        if (color && *color == kAccent) {
            const double half = line.attribute("stroke-width").as_double() / 2;
            design.accent.add(line.attribute("x1").as_double(), line.attribute("y1").as_double(),
                              half);
            design.accent.add(line.attribute("x2").as_double(), line.attribute("y2").as_double(),
                              half);
        }
    }
    for (const pugi::xpath_node& node : svg.select_nodes("//*[@fill or @stroke]")) {
        for (const char* paint : {"fill", "stroke"}) {
            const std::string value = node.node().attribute(paint).value();
            if (!value.empty() && value != "none") {
                const std::optional<Color> color = ui::parse_color(value);
                EXPECT_TRUE(color) << paint << "=\"" << value << "\" is not a plain colour";
                if (color) {
                    design.colors.insert(color->argb());
                }
            }
        }
    }
    return design;
}

// Signed distance (negative inside) from (x, y) to the rounded square.
double distance_to_tile(const Box& tile, double radius, double x, double y) {
    const double cx = (tile.left + tile.right) / 2;
    const double cy = (tile.top + tile.bottom) / 2;
    const double qx = std::abs(x - cx) - ((tile.right - tile.left) / 2 - radius);
    const double qy = std::abs(y - cy) - ((tile.bottom - tile.top) / 2 - radius);
    return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) -
           radius;
}

bool is_light(Color c) {
    return c.a == 255 && std::min({c.r, c.g, c.b}) >= 160;
}
bool is_reddish(Color c) {
    return c.a == 255 && c.r >= 150 && c.g < 100 && c.b < 100;
}
bool is_accent(Color c) {
    return c.a == 255 && std::abs(c.r - kAccent.r) <= 24 && std::abs(c.g - kAccent.g) <= 24 &&
           std::abs(c.b - kAccent.b) <= 24;
}

// Opaque colours of pixels whose eight neighbours have the same colour: the shapes' insides,
// none of their antialiased edges.
std::set<uint32_t> solid_colors(const Image& image) {
    std::set<uint32_t> colors;
    for (int y = 1; y + 1 < image.height(); ++y) {
        for (int x = 1; x + 1 < image.width(); ++x) {
            const Color c = image.pixel(x, y);
            bool solid = c.a == 255;
            for (int dy = -1; dy <= 1 && solid; ++dy) {
                for (int dx = -1; dx <= 1 && solid; ++dx) {
                    solid = image.pixel(x + dx, y + dy) == c;
                }
            }
            if (solid) {
                colors.insert(c.argb());
            }
        }
    }
    return colors;
}

std::string icon_path(const std::string& root, int size) {
    const std::string side = std::to_string(size);
    return root + "/" + side + "x" + side + "/apps/example.talvoro.MouseUtility.png";
}

class IconTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        root_ = std::make_unique<::talvoro::test::TempFolder>();
        const ::talvoro::test::ProgramResult result =
            ::talvoro::test::run_program(TALVORO_ICON_MAKER_PATH, {root_->path()});
        maker_status_ = result.exit_status;
        maker_errors_ = result.err;
    }
    static void TearDownTestSuite() { root_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(svg_.load_file(TALVORO_ICON_SVG_PATH)) << TALVORO_ICON_SVG_PATH;
    }

    static std::unique_ptr<::talvoro::test::TempFolder> root_;
    static int maker_status_;
    static std::string maker_errors_;
    pugi::xml_document svg_;
};

std::unique_ptr<::talvoro::test::TempFolder> IconTest::root_;
int IconTest::maker_status_ = -1;
std::string IconTest::maker_errors_;

TEST_F(IconTest, SvgIsAPlainSelfContainedIconInTheStylesColours) {
    const pugi::xml_node root = svg_.document_element();
    EXPECT_STREQ(root.name(), "svg");
    EXPECT_STREQ(root.attribute("xmlns").value(), "http://www.w3.org/2000/svg");
    EXPECT_STREQ(root.attribute("version").value(), "1.1");
    EXPECT_STREQ(root.attribute("viewBox").value(), "0 0 256 256");
    EXPECT_STREQ(root.attribute("width").value(), "256");
    EXPECT_STREQ(root.attribute("height").value(), "256");

    // Nothing that needs fonts, other files or a script to show.
    int elements = 0;
    for (const pugi::xpath_node& node : svg_.select_nodes("//*")) {
        ++elements;
        const std::string name = node.node().name();
        for (const char* banned : {"text", "image", "use", "foreignObject", "script", "style"}) {
            EXPECT_NE(name, banned);
        }
        for (const pugi::xml_attribute& attribute : node.node().attributes()) {
            const std::string key = attribute.name();
            const std::string value = attribute.value();
            EXPECT_FALSE(key.size() >= 4 && key.compare(key.size() - 4, 4, "href") == 0)
                << name << " " << key;
            EXPECT_EQ(value.find("url("), std::string::npos) << name << " " << key;
            EXPECT_EQ(value.find("data:"), std::string::npos) << name << " " << key;
        }
    }
    EXPECT_GE(elements, 4);

    const SvgDesign design = read_design(root);
    EXPECT_TRUE(design.colors.count(kAccent.argb()));
    for (uint32_t color : design.colors) {
        EXPECT_TRUE(kPalette.count(color)) << std::hex << color << " is not the style's";
    }
    // The tile fills the canvas but for a margin, the mouse and the accent lie on it.
    EXPECT_GE(design.tile.left, 0);
    EXPECT_LE(design.tile.right, kDesignSize);
    EXPECT_FALSE(design.mouse.empty());
    EXPECT_FALSE(design.accent.empty());
    for (const Box& inner : {design.mouse, design.accent}) {
        EXPECT_LT(distance_to_tile(design.tile, design.tile_radius, inner.left, inner.top), 0);
        EXPECT_LT(distance_to_tile(design.tile, design.tile_radius, inner.right, inner.bottom), 0);
    }
}

TEST_F(IconTest, EverySizeIsTheSvgsDesign) {
    ASSERT_EQ(maker_status_, 0) << maker_errors_;
    EXPECT_EQ(maker_errors_, "");
    const SvgDesign design = read_design(svg_.document_element());
    for (int size : kSizes) {
        SCOPED_TRACE("size " + std::to_string(size));
        const std::string path = icon_path(root_->path(), size);
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        const std::optional<Image> image = ui::read_png(path);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width(), size);
        ASSERT_EQ(image->height(), size);
        const double scale = size / kDesignSize;
        const Box tile = design.tile.scaled(scale);
        const double radius = design.tile_radius * scale;

        // Transparent around the tile, opaque on it; only its edge pixels are partial.
        for (const auto& [x, y] :
             {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}}) {
            EXPECT_EQ(image->pixel(x, y).a, 0) << x << "," << y;
        }
        int wrong_alpha = 0;
        Box light;
        Box red;
        int accent_pixels = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const Color c = image->pixel(x, y);
                const double distance = distance_to_tile(tile, radius, x + 0.5, y + 0.5);
                if ((distance > 0.75 && c.a != 0) || (distance < -0.75 && c.a != 255)) {
                    ++wrong_alpha;
                }
                if (is_light(c)) {
                    light.add_pixel(x, y);
                }
                if (is_reddish(c)) {
                    red.add_pixel(x, y);
                }
                accent_pixels += is_accent(c);
            }
        }
        EXPECT_EQ(wrong_alpha, 0);

        const Color centre = image->pixel(size / 2, size / 2);
        EXPECT_EQ(centre.a, 255);
        EXPECT_LT(std::max({centre.r, centre.g, centre.b}), 64);

        // The mouse's outline is the light part.
        ASSERT_FALSE(light.empty());
        expect_near_box(light, design.mouse.scaled(scale), 1.0, "mouse");

        // The accent shows at every size, and only where the SVG puts it.
        EXPECT_GT(accent_pixels, 0);
        ASSERT_FALSE(red.empty());
        const Box accent = design.accent.scaled(scale);
        EXPECT_GE(red.left, accent.left - 1) << red;
        EXPECT_GE(red.top, accent.top - 1) << red;
        EXPECT_LE(red.right, accent.right + 1) << red;
        EXPECT_LE(red.bottom, accent.bottom + 1) << red;
        // Below 32 px the thin strip is only a tint; from there on all of the accent shows.
        if (size >= 32) {
            expect_near_box(red, accent, 1.0, "accent");
        }

        // Where shapes are wide enough to have an inside, every colour of the SVG shows, and
        // no other.
        if (size >= 128) {
            EXPECT_EQ(solid_colors(*image), design.colors);
        }
    }
}

// The Windows icon file holds every size as the PNG of the hicolor tree: its directory says
// each size, and each entry's length and offset find exactly that picture.
TEST_F(IconTest, TheWindowsIconFileHoldsEverySizeAtItsOffset) {
    ASSERT_EQ(maker_status_, 0) << maker_errors_;
    ::talvoro::test::TempFolder folder;
    const std::string ico = folder.file("talvoro.ico");
    ASSERT_EQ(::talvoro::test::run_program(TALVORO_ICON_MAKER_PATH, {"--ico", ico}).exit_status, 0);
    std::ifstream in(ico, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    auto u16 = [&](size_t at) { return unsigned(bytes.at(at)) | unsigned(bytes.at(at + 1)) << 8; };
    auto u32 = [&](size_t at) { return size_t(u16(at)) | size_t(u16(at + 2)) << 16; };
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(u16(0), 0u);
    EXPECT_EQ(u16(2), 1u) << "an icon";
    ASSERT_EQ(u16(4), kSizes.size());
    for (size_t i = 0; i < kSizes.size(); ++i) {
        const size_t entry = 6 + 16 * i;
        const int size = kSizes[i];
        EXPECT_EQ(bytes.at(entry), size == 256 ? 0 : size) << size;
        EXPECT_EQ(u16(entry + 6), 32u);
        const size_t length = u32(entry + 8);
        const size_t offset = u32(entry + 12);
        ASSERT_LE(offset + length, bytes.size()) << size;
        const std::optional<Image> inside = ui::decode_image(&bytes[offset], length);
        const std::optional<Image> alone = ui::read_png(icon_path(root_->path(), size));
        ASSERT_TRUE(inside && alone) << size;
        ASSERT_EQ(inside->width(), size);
        EXPECT_EQ(std::memcmp(inside->data(), alone->data(), alone->stride() * size), 0) << size;
    }
}

TEST_F(IconTest, MakerReportsWhatItCannotDo) {
    const ::talvoro::test::ProgramResult usage =
        ::talvoro::test::run_program(TALVORO_ICON_MAKER_PATH, {});
    EXPECT_EQ(usage.exit_status, 2);
    EXPECT_NE(usage.err.find("usage"), std::string::npos) << usage.err;

    ::talvoro::test::TempFolder root;
    std::ofstream(root.file("blocked")) << "a file where a folder should go";
    const ::talvoro::test::ProgramResult blocked =
        ::talvoro::test::run_program(TALVORO_ICON_MAKER_PATH, {root.file("blocked")});
    EXPECT_EQ(blocked.exit_status, 1);
    EXPECT_NE(blocked.err.find("cannot create"), std::string::npos) << blocked.err;
}

}  // namespace
}  // namespace talvoro::packaging::test
