#include "render/mask_region.h"

#include <algorithm>
#include <tuple>

namespace talvoro::ui {

std::vector<Rect> mask_region(const Image& mask) {
    std::vector<Rect> done;
    // Rectangles reaching the previous row, sorted by left; a run of the current row with
    // the same left and right extends one of them.
    std::vector<Rect> open;
    std::vector<Rect> next;
    for (int y = 0; y < mask.height(); ++y) {
        const uint8_t* row = mask.data() + size_t(y) * mask.stride();
        next.clear();
        size_t candidate = 0;
        int x = 0;
        while (x < mask.width()) {
            auto white = [&](int at) {
                const uint8_t* p = row + size_t(at) * 4;
                return p[0] == 255 && p[1] == 255 && p[2] == 255;
            };
            while (x < mask.width() && white(x)) {
                ++x;
            }
            if (x == mask.width()) {
                break;
            }
            int start = x;
            while (x < mask.width() && !white(x)) {
                ++x;
            }
            while (candidate < open.size() && open[candidate].left < start) {
                done.push_back(open[candidate++]);
            }
            if (candidate < open.size() && open[candidate].left == start &&
                open[candidate].right == x) {
                Rect grown = open[candidate++];
                grown.bottom = y + 1;
                next.push_back(grown);
            } else {
                next.push_back(Rect{start, y, x, y + 1});
            }
        }
        done.insert(done.end(), open.begin() + static_cast<long>(candidate), open.end());
        open.swap(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    std::sort(done.begin(), done.end(), [](const Rect& a, const Rect& b) {
        return std::tie(a.top, a.left) < std::tie(b.top, b.left);
    });
    return done;
}

}  // namespace talvoro::ui
