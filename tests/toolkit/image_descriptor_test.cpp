#include <gtest/gtest.h>

#include "render/image_descriptor.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

TEST(ImageDescriptorTest, ParsesTheProgramsForm) {
    auto d = parse_image_descriptor("file='MCBox.bmp' source='455,270,490,318' mask='0xFFFF00FF' ");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->file, "MCBox.bmp");
    EXPECT_EQ(d->source, (Rect{455, 270, 490, 318}));
    EXPECT_EQ(d->mask, (Color{0xFF, 0xFF, 0x00, 0xFF}));
    EXPECT_FALSE(d->dest);
    EXPECT_EQ(d->fade, 255);
}

TEST(ImageDescriptorTest, OrderBlanksUnknownKeysAndPlainNames) {
    auto d = parse_image_descriptor(
        "  mask='#FF00FF'   corner='2,2,2,2' dest = '1,2,3,4' file='a b.png' fade='128'  ");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->file, "a b.png");
    EXPECT_EQ(d->dest, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(d->mask, (Color{0xFF, 0xFF, 0x00, 0xFF}));
    EXPECT_EQ(d->fade, 128);

    auto plain = parse_image_descriptor(" Background.png ");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->file, "Background.png");
    EXPECT_FALSE(plain->source);
}

TEST(ImageDescriptorTest, MalformedValuesAreSkipped) {
    auto d =
        parse_image_descriptor("file='x.bmp' source='1,2,3' mask='pink' fade='300' dest='a,b,c,d'");
    ASSERT_TRUE(d);
    ImageDescriptor expected;
    expected.file = "x.bmp";
    EXPECT_EQ(*d, expected);
    // A broken tail keeps what came before it.
    auto cut = parse_image_descriptor("file='y.bmp' source='1,2,3,4' mask=0xFFFF00FF");
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->source, (Rect{1, 2, 3, 4}));
    EXPECT_FALSE(cut->mask);
    auto open = parse_image_descriptor("file='z.bmp' source='1,2,3,4");
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->source);
}

TEST(ImageDescriptorTest, SkippedValuesAreReportedOnlyInDebugMode) {
    const char* bad = "file='x.bmp' mask='pink'";
    {
        test::ScopedEnv quiet("TALVORO_DEBUG", "0");
        testing::internal::CaptureStderr();
        parse_image_descriptor(bad);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    test::ScopedEnv debug("TALVORO_DEBUG", "1");
    testing::internal::CaptureStderr();
    parse_image_descriptor(bad);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("mask='pink'"), std::string::npos);
}

TEST(ImageDescriptorTest, NoFileMeansNoPicture) {
    for (const char* bad : {"", "   ", "source='1,2,3,4'", "file=''", "file='  '", "file='", "=",
                            "='x.png'", "file=x.png"}) {
        EXPECT_FALSE(parse_image_descriptor(bad)) << bad;
    }
}

}  // namespace
}  // namespace talvoro::ui
