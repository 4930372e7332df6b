#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "render/image.h"
#include "render/image_cache.h"
#include "render/image_file_checks.h"
#include "render/image_painter.h"
#include "render/png_writer.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

constexpr Color kMagenta{255, 255, 0, 255};
constexpr Color kGreen{255, 0, 200, 0};

// 3x2: magenta, green, magenta / green, green, (1,2,3).
Image keyed_picture() {
    Image image = *Image::create(3, 2);
    image.set_pixel(0, 0, kMagenta);
    image.set_pixel(1, 0, kGreen);
    image.set_pixel(2, 0, kMagenta);
    image.set_pixel(0, 1, kGreen);
    image.set_pixel(1, 1, kGreen);
    image.set_pixel(2, 1, Color{255, 1, 2, 3});
    return image;
}

void write_bmp(const std::string& path, const Image& image) {
    // 24-bit like the skins' bitmaps.
    std::vector<uint8_t> rgb;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            Color c = image.pixel(x, y);
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    }
    ASSERT_TRUE(stbi_write_bmp(path.c_str(), image.width(), image.height(), 3, rgb.data()));
}

TEST(ImageTest, ColorKeyClearsOnlyThatRgb) {
    Image image = keyed_picture();
    image.apply_color_key(Color{0, 255, 0, 255});  // the key's alpha does not matter
    EXPECT_EQ(image.pixel(0, 0), Color{});
    EXPECT_EQ(image.pixel(2, 0), Color{});
    EXPECT_EQ(image.pixel(1, 0), kGreen);
    EXPECT_EQ(image.pixel(2, 1), (Color{255, 1, 2, 3}));
}

TEST(ImageTest, LoadsPngBmpAndJpeg) {
    test::TempFolder folder;
    Image picture = keyed_picture();
    ASSERT_TRUE(write_png(picture, folder.file("a.png")));
    write_bmp(folder.file("a.bmp"), picture);
    std::vector<uint8_t> gray(16 * 16 * 3, 90);
    ASSERT_TRUE(stbi_write_jpg(folder.file("a.jpg").c_str(), 16, 16, 3, gray.data(), 95));

    std::optional<Image> png = read_png(folder.file("a.png"));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width(), 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(png->pixel(x, y), picture.pixel(x, y));
        }
    }
    std::optional<Image> bmp = load_image_file(folder.file("a.bmp"));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->pixel(2, 1), (Color{255, 1, 2, 3}));
    std::optional<Image> jpg = load_image_file(folder.file("a.jpg"));
    ASSERT_TRUE(jpg);
    EXPECT_EQ(jpg->width(), 16);
    EXPECT_NEAR(jpg->pixel(8, 8).g, 90, 3);
}

TEST(ImageTest, RejectsMissingBrokenAndOversizedFiles) {
    test::TempFolder folder;
    EXPECT_FALSE(load_image_file(folder.file("missing.png")));
    const uint8_t junk[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    EXPECT_FALSE(decode_image(junk, sizeof junk));
    EXPECT_FALSE(decode_image(nullptr, 10));
    // A BMP header claiming 60000 x 60000 pixels must be refused before any allocation.
    uint8_t header[54] = {'B', 'M'};
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            header[at + i] = uint8_t(v >> (8 * i));
        }
    };
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    header[26] = 1;
    header[28] = 24;
    EXPECT_FALSE(decode_image(header, sizeof header));
    EXPECT_FALSE(image_byte_size(kMaxImageSide, kMaxImageSide + 1));
    EXPECT_FALSE(image_byte_size(-1, 1));
    EXPECT_EQ(image_byte_size(3, 2), 24u);
}

std::vector<uint8_t> file_bytes(const std::string& path) {
    const std::string bytes = test::file_contents(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Files the decoder would mishandle are refused before it sees them, and only those: a real PNG
// and JPEG pass whole and cut short, and each gets refused by one changed length field.
TEST(ImageTest, DecoderChecksRefuseOnlyLengthsTheDecoderWouldTrust) {
    test::TempFolder folder;
    ASSERT_TRUE(write_png(keyed_picture(), folder.file("a.png")));
    std::vector<uint8_t> gray(16 * 16 * 3, 90);
    ASSERT_TRUE(stbi_write_jpg(folder.file("a.jpg").c_str(), 16, 16, 3, gray.data(), 95));
    const std::vector<uint8_t> png = file_bytes(folder.file("a.png"));
    const std::vector<uint8_t> jpg = file_bytes(folder.file("a.jpg"));
    EXPECT_TRUE(fit_for_decoder(png.data(), png.size()));
    EXPECT_TRUE(fit_for_decoder(jpg.data(), jpg.size()));
    EXPECT_TRUE(decode_image(png.data(), png.size()));
    EXPECT_TRUE(decode_image(jpg.data(), jpg.size()));
    // Cut short before the last chunk's end is the decoder's own business, not a refusal.
    EXPECT_TRUE(png_chunks_fit(png.data(), png.size() - 6));

    // The first chunk (IHDR, 13 bytes) claiming one byte more than the file has after it.
    std::vector<uint8_t> long_chunk = png;
    const uint32_t claim = static_cast<uint32_t>(png.size() - 8 - 12 + 1);
    for (int i = 0; i < 4; ++i) {
        long_chunk[8 + i] = static_cast<uint8_t>(claim >> (24 - 8 * i));
    }
    EXPECT_FALSE(png_chunks_fit(long_chunk.data(), long_chunk.size()));
    EXPECT_FALSE(decode_image(long_chunk.data(), long_chunk.size()));
    long_chunk[11] -= 1;  // exactly the bytes that are there: allowed
    EXPECT_TRUE(png_chunks_fit(long_chunk.data(), long_chunk.size()));

    // A Huffman table of the encoder's with one more code than 256 in all.
    std::vector<uint8_t> big_table = jpg;
    size_t table = 0;
    while (table + 1 < big_table.size() &&
           !(big_table[table] == 0xFF && big_table[table + 1] == 0xC4)) {
        ++table;
    }
    ASSERT_LT(table + 21, big_table.size());
    uint32_t codes = 0;
    for (int i = 0; i < 16; ++i) {
        codes += big_table[table + 5 + i];
    }
    big_table[table + 5 + 15] = static_cast<uint8_t>(257 - (codes - big_table[table + 5 + 15]));
    EXPECT_FALSE(jpeg_huffman_tables_fit(big_table.data(), big_table.size()));
    EXPECT_FALSE(decode_image(big_table.data(), big_table.size()));
    // A segment of one table: 256 codes are the most a table may have.
    const auto one_table = [](uint8_t last_count) {
        std::vector<uint8_t> segment = {0xFF, 0xD8, 0xFF, 0xC4, 0, 0, 0x00};
        std::vector<uint8_t> counts(16, 0);
        counts[7] = 255;
        counts[8] = last_count;
        segment.insert(segment.end(), counts.begin(), counts.end());
        segment.resize(segment.size() + 255 + last_count, 0x01);
        const size_t length = segment.size() - 4;
        segment[4] = static_cast<uint8_t>(length >> 8);
        segment[5] = static_cast<uint8_t>(length);
        return segment;
    };
    const std::vector<uint8_t> full = one_table(1);
    const std::vector<uint8_t> over = one_table(2);
    EXPECT_TRUE(jpeg_huffman_tables_fit(full.data(), full.size()));
    EXPECT_FALSE(jpeg_huffman_tables_fit(over.data(), over.size()));
}

TEST(ImageCacheTest, LoadsRelativeToTheSkinFolderAndKeysByMask) {
    test::TempFolder folder;
    write_bmp(folder.file("MCBox.bmp"), keyed_picture());
    ImageCache cache(folder.path());
    std::shared_ptr<const Image> plain = cache.get("MCBox.bmp").image;
    std::shared_ptr<const Image> keyed = cache.get("MCBox.bmp", Color{0xFF, 255, 0, 255}).image;
    ASSERT_TRUE(plain);
    ASSERT_TRUE(keyed);
    EXPECT_EQ(plain->pixel(0, 0), kMagenta);
    EXPECT_EQ(keyed->pixel(0, 0), Color{});
    EXPECT_EQ(cache.get("MCBox.bmp").image, plain);  // the same decoded picture, not a new one
    EXPECT_FALSE(cache.get("missing.bmp"));
    EXPECT_FALSE(cache.get(""));
    EXPECT_EQ(cache.size(), 3u);
}

TEST(ImageCacheTest, TakesTheLargerSetWhereItHasThePictureAndFallsBackToTheSmaller) {
    test::TempFolder folder;
    write_bmp(folder.file("MCBox.bmp"), keyed_picture());
    write_bmp(folder.file("Only1x.bmp"), keyed_picture());
    Image larger = *Image::create(4, 2);
    larger.set_pixel(0, 0, kMagenta);
    ASSERT_TRUE(write_png(larger, folder.file("MCBox@2x.png")));
    ImageCache cache(folder.path());

    const CachedPicture doubled = cache.get("MCBox.bmp", Color{0xFF, 255, 0, 255}, 2);
    ASSERT_TRUE(doubled);
    EXPECT_EQ(doubled.density, 2);
    EXPECT_EQ(doubled.image->width(), 4);
    EXPECT_EQ(doubled.image->pixel(0, 0), Color{}) << "the colour key applies to the larger set";
    const CachedPicture fallback = cache.get("Only1x.bmp", {}, 2);
    ASSERT_TRUE(fallback);
    EXPECT_EQ(fallback.density, 1);
    EXPECT_EQ(cache.get("MCBox.bmp", {}, 1).density, 1);
}

TEST(ImageCacheTest, ReloadAllFollowsANewSkinFolder) {
    test::TempFolder english;
    test::TempFolder german;
    Image red = *Image::create(1, 1);
    red.set_pixel(0, 0, Color{255, 255, 0, 0});
    Image blue = *Image::create(1, 1);
    blue.set_pixel(0, 0, Color{255, 0, 0, 255});
    ASSERT_TRUE(write_png(red, english.file("bg.png")));
    ASSERT_TRUE(write_png(blue, german.file("bg.png")));
    ASSERT_TRUE(write_png(blue, german.file("only_german.png")));

    ImageCache cache(english.path());
    std::shared_ptr<const Image> before = cache.get("bg.png").image;
    EXPECT_FALSE(cache.get("only_german.png"));
    cache.set_base_folder(german.path());
    cache.reload_all();
    EXPECT_EQ(cache.get("bg.png").image->pixel(0, 0), (Color{255, 0, 0, 255}));
    EXPECT_TRUE(cache.get("only_german.png"));                // an earlier failure is retried
    EXPECT_EQ(before->pixel(0, 0), (Color{255, 255, 0, 0}));  // old holders keep theirs
}

TEST(ImagePainterTest, DrawsTheDescribedPartIntoTheControl) {
    test::TempFolder folder;
    write_bmp(folder.file("MCBox.bmp"), keyed_picture());
    ImageCache cache(folder.path());
    Canvas canvas(10, 10);
    // The right column of the sheet (magenta over (1,2,3)), keyed, at dest (1,1) of the control.
    ASSERT_TRUE(draw_image(canvas, cache,
                           "file='MCBox.bmp' source='2,0,3,2' dest='1,1,2,3' mask='0xFFFF00FF' ",
                           Rect{4, 4, 8, 8}));
    EXPECT_EQ(canvas.pixel(5, 5), Color{});  // the keyed magenta
    EXPECT_EQ(canvas.pixel(5, 6), (Color{255, 1, 2, 3}));
    int touched = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            touched += canvas.pixel(x, y) != Color{};
        }
    }
    EXPECT_EQ(touched, 1);
    // No dest: the whole picture stretched over the control, and never past it.
    Canvas whole(10, 10);
    ASSERT_TRUE(draw_image(whole, cache, "MCBox.bmp", Rect{2, 2, 8, 6}));
    EXPECT_EQ(whole.pixel(2, 2), kMagenta);
    EXPECT_EQ(whole.pixel(7, 5), (Color{255, 1, 2, 3}));
    EXPECT_EQ(whole.pixel(8, 5), Color{});
    Canvas spill(10, 10);
    ASSERT_TRUE(draw_image(spill, cache, "file='MCBox.bmp' dest='-5,-5,20,20'", Rect{2, 2, 4, 4}));
    EXPECT_EQ(spill.pixel(1, 1), Color{});
    EXPECT_EQ(spill.pixel(4, 4), Color{});
    EXPECT_NE(spill.pixel(3, 3), Color{});
    EXPECT_FALSE(draw_image(spill, cache, "file='missing.bmp'", Rect{0, 0, 4, 4}));
    EXPECT_FALSE(draw_image(spill, cache, "source='1,1,2,2'", Rect{0, 0, 4, 4}));
}

TEST(PngTest, WriteAndReadRoundTripKeepsAlpha) {
    test::TempFolder folder;
    Image image = *Image::create(5, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            image.set_pixel(x, y, Color{uint8_t(x * 60), uint8_t(y * 50), uint8_t(x + y), 7});
        }
    }
    ASSERT_TRUE(write_png(image, folder.file("round.png")));
    std::optional<Image> back = read_png(folder.file("round.png"));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->width(), 5);
    ASSERT_EQ(back->height(), 4);
    EXPECT_TRUE(std::equal(image.data(), image.data() + 5 * 4 * 4, back->data()));
    EXPECT_FALSE(write_png(Image{}, folder.file("empty.png")));
    EXPECT_FALSE(write_png(image, folder.file("no/such/folder.png")));
}

}  // namespace
}  // namespace talvoro::ui
