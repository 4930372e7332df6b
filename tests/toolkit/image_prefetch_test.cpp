#include "render/image_prefetch.h"

#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

std::string write_png(const test::TempFolder& folder, const std::string& name, int width,
                      uint8_t shade) {
    std::vector<uint8_t> pixels(size_t(width) * 3 * 4, shade);
    const std::string path = folder.file(name);
    EXPECT_TRUE(stbi_write_png(path.c_str(), width, 3, 4, pixels.data(), width * 4));
    return path;
}

TEST(ImagePrefetch, HandsEachPictureOutOnceAndOnlyWhatWasAskedFor) {
    test::TempFolder folder;
    const std::string first = write_png(folder, "first.png", 5, 10);
    const std::string second = write_png(folder, "second.png", 7, 200);
    const std::string unasked = write_png(folder, "unasked.png", 2, 1);
    prefetch_images({first, second, folder.file("missing.png")}, 1 << 16);

    // Taken in another order than decoded: each waits for its own.
    std::optional<Image> two = take_prefetched_image(second);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->width(), 7);
    EXPECT_EQ(two->pixel(6, 2).r, 200);
    std::optional<Image> one = take_prefetched_image(first);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->width(), 5);

    EXPECT_FALSE(take_prefetched_image(first)) << "handed out twice";
    EXPECT_FALSE(take_prefetched_image(unasked));
    EXPECT_FALSE(take_prefetched_image(folder.file("missing.png")));
    discard_prefetched_images();
    EXPECT_FALSE(take_prefetched_image(second));
}

}  // namespace
}  // namespace talvoro::ui
