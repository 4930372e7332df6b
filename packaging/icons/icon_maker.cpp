// Draws the desktop icon at the sizes desktops look up, as
// OUTPUT_DIR/<N>x<N>/apps/example.talvoro.MouseUtility.png, the layout of a hicolor theme; with
// --ico FILE, the same sizes as one Windows icon file, for the programs and the installer.
//
// The design lives in the tables below, in the 256-unit space of the scalable icon
// (example.talvoro.MouseUtility.svg beside this file). The SVG and these tables draw the same
// shapes in the same colours: change them together.
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "antialias.h"
#include "render/canvas.h"
#include "render/color.h"
#include "render/png_writer.h"

namespace talvoro::icons {
namespace {

using skins::PointF;
using ui::Canvas;
using ui::Color;

constexpr const char* kIconName = "example.talvoro.MouseUtility";
constexpr std::array kSizes{16, 24, 32, 48, 64, 128, 256};
constexpr double kDesignSize = 256;

constexpr Color kTileColor = Color::from_argb(0xFF0E0E11);
constexpr Color kTileEdgeColor = Color::from_argb(0xFF2A2A31);
constexpr Color kShellColor = Color::from_argb(0xFF16161B);
constexpr Color kLineColor = Color::from_argb(0xFFFFFFFF);
constexpr Color kAccentColor = Color::from_argb(0xFFFF3C3C);

// The rounded square behind the mouse; the border lies inside it. The SVG strokes the
// rectangle half a border inside these edges.
struct Tile {
    double left;
    double top;
    double right;
    double bottom;
    double radius;
    double border;
};
constexpr Tile kTile{16, 16, 240, 240, 48, 6};

// The mouse seen from above: a shell closed by cubic curves from `kShellStart`, stroked along
// its middle. The outline and the white lines are 16 units wide and centred between multiples
// of 16, so they fall on whole pixels at 16 px and its multiples.
struct Curve {
    PointF control1;
    PointF control2;
    PointF end;
};
constexpr PointF kShellStart{128, 40};
constexpr std::array kShellCurves{
    Curve{{172, 40}, {184, 68}, {184, 120}},
    Curve{{184, 180}, {166, 216}, {128, 216}},
    Curve{{90, 216}, {72, 180}, {72, 120}},
    Curve{{72, 68}, {84, 40}, {128, 40}},
};
constexpr double kShellStroke = 16;

// Lines with round ends, painted in this order over the mouse.
struct Line {
    PointF from;
    PointF to;
    double width;
    Color color;
};
constexpr std::array kLines{
    // The seam between the buttons, and where the buttons end.
    Line{{128, 40}, {128, 120}, 16, kLineColor},
    Line{{72, 120}, {184, 120}, 16, kLineColor},
    // The wheel.
    Line{{128, 76}, {128, 84}, 32, kAccentColor},
    // The light strip down the back.
    Line{{128, 156}, {128, 188}, 12, kAccentColor},
};

PointF scaled(PointF p, double scale) {
    return PointF{p.x * scale, p.y * scale};
}

std::vector<PointF> rounded_square(double left, double top, double right, double bottom,
                                   double radius) {
    constexpr int kSteps = 32;
    constexpr double kQuarter = 3.14159265358979323846 / 2;
    // Corner centres clockwise from the top right, each arc starting where the last edge ends.
    const std::array<PointF, 4> centres{
        PointF{right - radius, top + radius}, PointF{right - radius, bottom - radius},
        PointF{left + radius, bottom - radius}, PointF{left + radius, top + radius}};
    std::vector<PointF> points;
    for (int corner = 0; corner < 4; ++corner) {
        for (int i = 0; i <= kSteps; ++i) {
            const double angle = (corner - 1 + static_cast<double>(i) / kSteps) * kQuarter;
            points.push_back(PointF{centres[corner].x + radius * std::cos(angle),
                                    centres[corner].y + radius * std::sin(angle)});
        }
    }
    return points;
}

// The outline as a closed polygon, fine enough that no flat edge shows at 256 px.
std::vector<PointF> shell_outline() {
    constexpr int kSteps = 64;
    std::vector<PointF> points;
    PointF start = kShellStart;
    for (const Curve& curve : kShellCurves) {
        for (int i = 0; i < kSteps; ++i) {
            const double t = static_cast<double>(i) / kSteps;
            const double u = 1 - t;
            const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
            points.push_back(PointF{
                a * start.x + b * curve.control1.x + c * curve.control2.x + d * curve.end.x,
                a * start.y + b * curve.control1.y + c * curve.control2.y + d * curve.end.y});
        }
        start = curve.end;
    }
    return points;
}

std::vector<PointF> scaled(std::vector<PointF> points, double scale) {
    for (PointF& p : points) {
        p = scaled(p, scale);
    }
    return points;
}

// Moves every point of the clockwise outline `distance` outwards (inwards when negative)
// along its normal.
std::vector<PointF> offset(const std::vector<PointF>& outline, double distance) {
    std::vector<PointF> points;
    points.reserve(outline.size());
    const size_t count = outline.size();
    for (size_t i = 0; i < count; ++i) {
        const PointF& before = outline[(i + count - 1) % count];
        const PointF& after = outline[(i + 1) % count];
        const double dx = after.x - before.x;
        const double dy = after.y - before.y;
        const double length = std::hypot(dx, dy);
        points.push_back(
            PointF{outline[i].x + distance * dy / length, outline[i].y - distance * dx / length});
    }
    return points;
}

// The band `width` wide centred on the closed outline, as one even-odd polygon: both edges,
// joined by a bridge walked there and back, which cancels out.
std::vector<PointF> stroke_band(const std::vector<PointF>& outline, double width) {
    std::vector<PointF> outer = offset(outline, width / 2);
    const std::vector<PointF> inner = offset(outline, -width / 2);
    outer.push_back(outer.front());
    outer.insert(outer.end(), inner.begin(), inner.end());
    outer.push_back(inner.front());
    return outer;
}

Canvas draw_icon(int size) {
    Canvas canvas(size, size);
    const double scale = size / kDesignSize;

    const Tile& t = kTile;
    skins::fill_polygon(canvas,
                        rounded_square(t.left * scale, t.top * scale, t.right * scale,
                                       t.bottom * scale, t.radius * scale),
                        kTileEdgeColor);
    skins::fill_polygon(canvas,
                        rounded_square((t.left + t.border) * scale, (t.top + t.border) * scale,
                                       (t.right - t.border) * scale, (t.bottom - t.border) * scale,
                                       (t.radius - t.border) * scale),
                        kTileColor);

    // Painted as the SVG paints a path: the fill first, then the stroke over its edge.
    const std::vector<PointF> outline = shell_outline();
    skins::fill_polygon(canvas, scaled(outline, scale), kShellColor);
    skins::fill_polygon(canvas, scaled(stroke_band(outline, kShellStroke), scale), kLineColor);

    for (const Line& line : kLines) {
        skins::draw_segment(canvas, scaled(line.from, scale), scaled(line.to, scale),
                            line.width * scale, line.color);
    }
    return canvas;
}

bool write_icon(const std::filesystem::path& root, int size) {
    const std::string side = std::to_string(size);
    const std::filesystem::path folder = root / (side + "x" + side) / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "talvoro_icon_maker: cannot create %s: %s\n", folder.string().c_str(),
                     error.message().c_str());
        return false;
    }
    const std::filesystem::path path = folder / (std::string(kIconName) + ".png");
    if (!ui::write_png(draw_icon(size).image(), path.string())) {
        std::fprintf(stderr, "talvoro_icon_maker: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

// A Windows icon file of PNG images (as Windows reads them since Vista): a header, one
// directory entry a size, then the images.
bool write_ico(const std::filesystem::path& path) {
    std::vector<std::vector<uint8_t>> images;
    for (int size : kSizes) {
        images.push_back(ui::encode_png(draw_icon(size).image()));
        if (images.back().empty()) {
            return false;
        }
    }
    std::vector<uint8_t> file;
    auto put16 = [&](unsigned v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](size_t v) {
        put16(static_cast<unsigned>(v & 0xFFFF));
        put16(static_cast<unsigned>(v >> 16));
    };
    constexpr size_t kHeader = 6;
    constexpr size_t kEntry = 16;
    put16(0);  // reserved
    put16(1);  // an icon, not a cursor
    put16(static_cast<unsigned>(kSizes.size()));
    size_t offset = kHeader + kEntry * kSizes.size();
    for (size_t i = 0; i < kSizes.size(); ++i) {
        const auto side = static_cast<uint8_t>(kSizes[i] >= 256 ? 0 : kSizes[i]);  // 0 is 256
        file.push_back(side);
        file.push_back(side);
        file.push_back(0);  // no palette
        file.push_back(0);
        put16(1);   // planes
        put16(32);  // bits a pixel
        put32(images[i].size());
        put32(offset);
        offset += images[i].size();
    }
    for (const std::vector<uint8_t>& image : images) {
        file.insert(file.end(), image.begin(), image.end());
    }
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    if (out == nullptr) {
        return false;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace
}  // namespace talvoro::icons

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--ico") {
        if (!talvoro::icons::write_ico(argv[2])) {
            std::fprintf(stderr, "talvoro_icon_maker: cannot write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: talvoro_icon_maker OUTPUT_DIR | --ico FILE\n");
        return 2;
    }
    bool ok = true;
    for (int size : talvoro::icons::kSizes) {
        ok = talvoro::icons::write_icon(argv[1], size) && ok;
    }
    return ok ? 0 : 1;
}
