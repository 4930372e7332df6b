// Random descriptors, colours, rectangles and drawing calls: nothing may crash or write
// outside the clip. The seed is fixed so a failure repeats.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "render/canvas.h"
#include "render/image_descriptor.h"
#include "render/mask_region.h"
#include "render/text_renderer.h"

namespace talvoro::ui {
namespace {

class RandomInput {
  public:
    explicit RandomInput(unsigned seed) : engine_(seed) {}

    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    int coordinate() {
        switch (number(0, 3)) {
            case 0:
                return number(INT_MIN, INT_MAX);
            case 1:
                return number(-1000, 1000);
            default:
                return number(-5, 40);
        }
    }
    Rect rect() { return Rect{coordinate(), coordinate(), coordinate(), coordinate()}; }
    Color color() { return Color::from_argb(static_cast<uint32_t>(number(INT_MIN, INT_MAX))); }
    // Pieces of real attribute text shuffled with junk.
    std::string text() {
        static const char* const kPieces[] = {
            "file=",   "source=", "mask=",        "dest=",    "fade=", "'",
            "\"",      " ",       "MCBox.bmp",    "455,270",  ",",     "0xFFFF00FF",
            "#FF00FF", "-1",      "999999999999", "=",        "{u}",   "{/u}",
            "\n",      "按键",    "\xff\xfe",     "\xe6\x8c", "abc",   "\t",
            "{",       "}"};
        std::string result;
        int count = number(0, 12);
        for (int i = 0; i < count; ++i) {
            result += kPieces[number(0, std::size(kPieces) - 1)];
        }
        return result;
    }

  private:
    std::mt19937 engine_;
};

TEST(RandomInputTest, ParsersAcceptOrRefuseWithoutHarm) {
    RandomInput random(20240601);
    for (int i = 0; i < 3000; ++i) {
        std::string text = random.text();
        std::optional<ImageDescriptor> descriptor = parse_image_descriptor(text);
        if (descriptor) {
            EXPECT_FALSE(descriptor->file.empty()) << text;
        }
        std::optional<Rect> rect = parse_rect(text);
        if (rect) {
            EXPECT_EQ(
                parse_rect(std::to_string(rect->left) + "," + std::to_string(rect->top) + "," +
                           std::to_string(rect->right) + "," + std::to_string(rect->bottom)),
                rect);
        }
        parse_color(text);
    }
}

TEST(RandomInputTest, DrawingNeverLeavesTheClip) {
    RandomInput random(7);
    Image picture = *Image::create(9, 7);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x) {
            picture.set_pixel(x, y, random.color());
        }
    }
    constexpr Color kSentinel{1, 2, 3, 4};
    for (int round = 0; round < 200; ++round) {
        Canvas canvas(32, 24);
        canvas.clear(kSentinel);
        Rect clip = Rect{random.number(-4, 30), random.number(-4, 20), random.number(0, 36),
                         random.number(0, 28)};
        {
            ClipScope scope(canvas, clip);
            for (int call = 0; call < 6; ++call) {
                switch (random.number(0, 5)) {
                    case 0:
                        canvas.fill_rect(random.rect(), random.color());
                        break;
                    case 1:
                        canvas.draw_border(random.rect(), random.color(), random.coordinate());
                        break;
                    case 2:
                        canvas.draw_line(Point{random.coordinate(), random.coordinate()},
                                         Point{random.number(-50, 50), random.number(-50, 50)},
                                         random.color(), random.number(-2, 5));
                        break;
                    case 3:
                        canvas.blit(picture, random.rect(), random.rect(),
                                    static_cast<uint8_t>(random.number(0, 255)));
                        break;
                    case 4:
                        canvas.blend_pixel(random.coordinate(), random.coordinate(), random.color(),
                                           uint8_t(random.number(0, 255)));
                        break;
                    default:
                        draw_text(canvas, random.rect(), random.text(),
                                  FontStyle{"Verdana", random.number(-3, 40)}, random.color(),
                                  static_cast<unsigned>(random.number(0, 127)), random.rect());
                }
            }
        }
        Rect allowed = clip.intersect(canvas.bounds());
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (!allowed.contains(x, y)) {
                    ASSERT_EQ(canvas.pixel(x, y), kSentinel) << "round " << round;
                }
            }
        }
        mask_region(canvas.image());
    }
}

}  // namespace
}  // namespace talvoro::ui
