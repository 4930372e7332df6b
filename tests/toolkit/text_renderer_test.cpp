#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "render/canvas.h"
#include "render/font_cache.h"
#include "render/png_writer.h"
#include "render/text_renderer.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

constexpr Color kBackground{255, 255, 255, 255};

// Where the text left ink, and whether any landed outside `allowed`.
struct Ink {
    Rect box;
    int pixels = 0;
    int outside = 0;
};

Ink find_ink(const Canvas& canvas, const Rect& allowed) {
    Ink ink;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (canvas.pixel(x, y) != kBackground) {
                ++ink.pixels;
                ink.outside += !allowed.contains(x, y);
                ink.box = ink.box.unite(Rect{x, y, x + 1, y + 1});
            }
        }
    }
    return ink;
}

class TextTest : public testing::Test {
  protected:
    Ink draw(const std::string& text, const FontStyle& font, unsigned flags,
             Color color = Color{0, 0, 0, 0}) {
        canvas_.resize(200, 80);
        canvas_.clear(kBackground);
        draw_text(canvas_, kRect, text, font, color, flags);
        return find_ink(canvas_, kRect);
    }
    // Keeps a picture of the last drawing for a failing test to be looked at.
    void save(const std::string& name) { write_png(canvas_.image(), folder_.file(name + ".png")); }

    static constexpr Rect kRect{20, 10, 180, 70};
    Canvas canvas_;
    test::TempFolder folder_;
};

TEST_F(TextTest, EnglishAndChineseDrawInsideTheRectOnly) {
    const FontStyle verdana{"Verdana", 14};
    const FontStyle yahei{"微软雅黑", 14};
    const FontStyle jhenghei{"Microsoft JhengHei", 14};
    for (auto [text, font] : {std::pair{"Button assignment", verdana},
                              {"按键设置", verdana},
                              {"按键设置", yahei},
                              {"按鍵設定", jhenghei},
                              {"Macro", yahei}}) {
        Ink ink = draw(text, font, kTextSingleLine | kTextVCenter);
        EXPECT_GT(ink.pixels, 40) << text << " in " << font.family;
        EXPECT_EQ(ink.outside, 0) << text << " in " << font.family;
        // Transparent text colours still draw fully dark ink.
        int darkest = 255;
        for (int y = ink.box.top; y < ink.box.bottom; ++y) {
            for (int x = ink.box.left; x < ink.box.right; ++x) {
                darkest = std::min<int>(darkest, canvas_.pixel(x, y).r);
            }
        }
        EXPECT_LT(darkest, 60) << text;
    }
}

TEST_F(TextTest, ChineseFindsACjkFaceWhateverTheFamily) {
    FontCache& cache = FontCache::shared();
    for (const char* family : {"Verdana", "微软雅黑", "Microsoft JhengHei"}) {
        FontStyle font{family, 14};
        int primary = cache.face_for(font, "zh-cn");
        int face = cache.face_for_char(primary, font, "zh-cn", U'键');
        ASSERT_GE(face, 0) << family;
        const Glyph* glyph = cache.glyph(face, U'键');
        ASSERT_NE(glyph, nullptr);
        EXPECT_GT(glyph->width * glyph->rows, 0) << family << " -> " << cache.face_file(face);
        // Each Han character is about one em wide, not a narrow missing-glyph box.
        EXPECT_GE(glyph->advance, 12) << family;
    }
}

TEST_F(TextTest, AlignmentMovesTheInk) {
    FontStyle font{"Verdana", 12};
    Ink left = draw("OK", font, kTextSingleLine | kTextLeft | kTextTop);
    Ink centre = draw("OK", font, kTextSingleLine | kTextCenter | kTextVCenter);
    Ink right = draw("OK", font, kTextSingleLine | kTextRight | kTextBottom);
    EXPECT_LT(left.box.left, kRect.left + 4);
    EXPECT_GT(right.box.right, kRect.right - 4);
    EXPECT_NEAR((centre.box.left + centre.box.right) / 2, (kRect.left + kRect.right) / 2, 3);
    EXPECT_LT(left.box.top, centre.box.top);
    EXPECT_LT(centre.box.top, right.box.top);
    // Padding pushes the ink inwards.
    canvas_.clear(kBackground);
    draw_text(canvas_, kRect, "OK", font, Color{}, kTextSingleLine, Rect{30, 20, 0, 0});
    Ink padded = find_ink(canvas_, kRect);
    EXPECT_GE(padded.box.left, kRect.left + 30);
    EXPECT_GE(padded.box.top, kRect.top + 20);
}

TEST_F(TextTest, WordBreakWrapsOntoMoreLinesAndStaysInside) {
    FontStyle font{"Verdana", 12};
    std::string text = "The quick brown fox jumps over the lazy dog again and again";
    Ink single = draw(text, font, kTextSingleLine);
    Ink wrapped = draw(text, font, kTextWordBreak);
    save("wrapped");
    EXPECT_EQ(single.outside, 0);
    EXPECT_EQ(wrapped.outside, 0);
    EXPECT_GT(wrapped.box.height(), single.box.height() * 2);
    EXPECT_EQ(measure_text(text, font, kTextWordBreak, 160).height,
              3 * measure_text("x", font).height);  // wraps into exactly the lines needed
    EXPECT_LE(measure_text(text, font, kTextWordBreak, 160).width, 160);
    // Chinese has no blanks yet wraps between characters.
    Size cjk = measure_text("按键设置按键设置按键设置按键设置", FontStyle{"微软雅黑", 14},
                            kTextWordBreak, 60);
    EXPECT_LE(cjk.width, 60);
    EXPECT_GE(cjk.height, 3 * measure_text("按", FontStyle{"微软雅黑", 14}).height);
    // Line breaks make lines unless the text is one line.
    EXPECT_EQ(measure_text("a\nb", font, 0).height, 2 * measure_text("a\nb", font).height);
}

TEST_F(TextTest, UnderlineMarkupAddsALine) {
    FontStyle font{"Verdana", 14};
    Ink plain = draw("{u}Save{/u}", font, kTextSingleLine);
    Ink marked = draw("{u}Save{/u}", font, kTextSingleLine | kTextMarkup);
    save("underlined");
    Ink unmarked = draw("Save", font, kTextSingleLine);
    EXPECT_GT(plain.box.width(), marked.box.width());  // without the flag the braces show
    EXPECT_GT(marked.pixels, unmarked.pixels);
    EXPECT_GT(marked.box.bottom, unmarked.box.bottom);
    EXPECT_EQ(marked.outside, 0);
    FontStyle underlined = font;
    underlined.underline = true;
    Ink whole = draw("Save", underlined, kTextSingleLine);
    EXPECT_EQ(whole.box.bottom, marked.box.bottom);
}

TEST_F(TextTest, RectTooSmallClipsTheText) {
    canvas_.resize(100, 40);
    canvas_.clear(kBackground);
    Rect tiny{10, 10, 18, 15};
    draw_text(canvas_, tiny, "Wide text here", FontStyle{"Verdana", 20}, Color{}, kTextSingleLine);
    Ink ink = find_ink(canvas_, tiny);
    EXPECT_GT(ink.pixels, 0);
    EXPECT_EQ(ink.outside, 0);
}

TEST_F(TextTest, RectanglesAtTheEdgesOfIntDrawNothingAmiss) {
    canvas_.resize(50, 50);
    canvas_.clear(kBackground);
    const Rect edges[] = {{INT_MIN, INT_MIN, INT_MIN + 5, INT_MIN + 5},
                          {INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX},
                          {INT_MIN, INT_MIN, INT_MAX, INT_MAX}};
    for (const Rect& rect : edges) {
        for (unsigned flags : {0u, kTextRight | kTextBottom, kTextCenter | kTextVCenter}) {
            draw_text(canvas_, rect, "{u}Wg{/u}", FontStyle{"Verdana", 20, false, true}, Color{},
                      flags | kTextMarkup);
        }
    }
    // Only the rectangle covering everything may leave ink, centred far away from the canvas.
    EXPECT_EQ(find_ink(canvas_, Rect{}).pixels, 0);
    Rect left_edge{INT_MIN, 0, 30, 30};
    draw_text(canvas_, left_edge, "Wg", FontStyle{"Verdana", 20}, Color{}, kTextRight);
    Ink ink = find_ink(canvas_, Rect{0, 0, 30, 30});
    EXPECT_GT(ink.pixels, 0);
    EXPECT_EQ(ink.outside, 0);
}

TEST_F(TextTest, DefaultFontFillsTheBlanks) {
    FontStyle before = default_font();
    set_default_font(FontStyle{"DejaVu Sans", 30});
    Size big = measure_text("Hello", FontStyle{"", 0});
    set_default_font(FontStyle{"DejaVu Sans", 10});
    Size small = measure_text("Hello", FontStyle{"", 0});
    set_default_font(before);
    EXPECT_GT(big.width, small.width * 2);
    EXPECT_EQ(default_font(), before);
}

}  // namespace
}  // namespace talvoro::ui
