#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diagnostics/window_driver.h"
#include "render/png_writer.h"
#include "support/temp_folder.h"
#include "window_test_window.h"

namespace talvoro::ui::test {
namespace {

TEST(WindowDriverTest, ClickOnButtonSendsClick) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    EXPECT_TRUE(click_control(window, "ok"));
    EXPECT_EQ(window.notes, (std::vector<std::string>{"click:ok"}));
    EXPECT_FALSE(click_control(window, "missing"));
    window.manager().find_control("ok")->set_visible(false);
    EXPECT_FALSE(click_control(window, "ok"));
    EXPECT_EQ(window.notes.size(), 1u);
}

TEST(WindowDriverTest, SnapshotHasThePaintedPixels) {
    talvoro::test::TempFolder folder;
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    const std::string path = folder.file("shot.png");
    ASSERT_TRUE(snapshot_png(window, path));
    const auto image = read_png(path);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width(), 200);
    EXPECT_EQ(image->height(), 100);
    // The button is red from x 0 to 59; the label beside it has no background.
    EXPECT_EQ(image->pixel(5, 95), (Color{255, 255, 0, 0}));
    EXPECT_EQ(image->pixel(59, 5), (Color{255, 255, 0, 0}));
    EXPECT_NE(image->pixel(60, 5), (Color{255, 255, 0, 0}));
}

TEST(WindowDriverTest, TypedTextAndKeysReachTheHandler) {
    RecordingWindow window;
    std::string text;
    window.watched = {WindowMessage::kTextInput, WindowMessage::kKeyDown, WindowMessage::kKeyUp};
    window.on_seen = [&](const Seen& s) {
        if (s.msg == WindowMessage::kTextInput) {
            text = *reinterpret_cast<const std::string*>(s.lparam);
        }
    };
    ASSERT_TRUE(window.build());
    type_text(window, "héllo");
    press_key(window, 0x0D);
    EXPECT_EQ(text, "héllo");
    ASSERT_EQ(window.seen.size(), 3u);
    EXPECT_EQ(window.seen[1].msg, WindowMessage::kKeyDown);
    EXPECT_EQ(window.seen[1].wparam, 0x0Du);
    EXPECT_EQ(window.seen[2].msg, WindowMessage::kKeyUp);
}

}  // namespace
}  // namespace talvoro::ui::test
