#include "support/picture_compare.h"

#include <cstdlib>
#include <vector>

namespace talvoro::test {
namespace {

constexpr int kTolerance = 40;

bool alike(ui::Color a, ui::Color b) {
    return std::abs(a.r - b.r) <= kTolerance && std::abs(a.g - b.g) <= kTolerance &&
           std::abs(a.b - b.b) <= kTolerance;
}

}  // namespace

double differing_share(const ui::Image& shot, const ui::Image& reference) {
    if (shot.width() != reference.width() || shot.height() != reference.height()) {
        return 1.0;
    }
    long opaque = 0;
    long differing = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const ui::Color want = reference.pixel(x, y);
            if (want.a != 0xFF) {
                continue;
            }
            ++opaque;
            differing += !alike(shot.pixel(x, y), want);
        }
    }
    return opaque == 0 ? 1.0 : static_cast<double>(differing) / static_cast<double>(opaque);
}

std::optional<ui::Point> find_picture(const ui::Image& screen, const ui::Image& reference) {
    struct Sample {
        int x;
        int y;
        ui::Color color;
    };
    std::vector<Sample> samples;
    const int step = std::max(1, std::min(reference.width(), reference.height()) / 24);
    for (int y = step / 2; y < reference.height(); y += step) {
        for (int x = step / 2; x < reference.width(); x += step) {
            const ui::Color c = reference.pixel(x, y);
            if (c.a == 0xFF) {
                samples.push_back(Sample{x, y, c});
            }
        }
    }
    if (samples.empty()) {
        return std::nullopt;
    }
    // A place is given up on as soon as it misses more than a few samples.
    const size_t allowed = samples.size() / 50;
    std::optional<ui::Point> best;
    size_t best_misses = allowed + 1;
    for (int top = 0; top + reference.height() <= screen.height(); ++top) {
        for (int left = 0; left + reference.width() <= screen.width(); ++left) {
            size_t misses = 0;
            for (const Sample& s : samples) {
                if (!alike(screen.pixel(left + s.x, top + s.y), s.color) &&
                    ++misses >= best_misses) {
                    break;
                }
            }
            if (misses < best_misses) {
                best_misses = misses;
                best = ui::Point{left, top};
            }
        }
    }
    return best;
}

ui::Image cut_out(const ui::Image& image, const ui::Rect& area) {
    ui::Image part = *ui::Image::create(area.width(), area.height());
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            part.set_pixel(x, y, image.pixel(area.left + x, area.top + y));
        }
    }
    return part;
}

}  // namespace talvoro::test
