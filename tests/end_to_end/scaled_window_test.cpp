// The real window at a desktop's scale, as a person sees it. On X11 with Xft.dpi at 192 (what
// GNOME and KDE set for 200 %) the window is twice its layouts' size and looks as the 200 %
// pictures in docs/screenshots. Under a Wayland compositor (weston, in an X window of Xvfb) at
// scale 1 and 2, through SDL's Wayland driver, it shows with its corners cut by its own
// transparency, its caption band drags it, and a click where the UI dump says a control is
// reaches that control.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "render/png_writer.h"
#include "support/linux/desktop_driver.h"
#include "support/linux/screen_capture.h"
#include "support/linux/weston_session.h"
#include "support/linux/x_resources.h"
#include "support/linux/xvfb_display.h"
#include "support/picture_compare.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/ui_dump_reader.h"
#include "support/virtual_mouse_process.h"
#include "support/wait_for.h"

namespace talvoro::test {
namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

// The main control page as the headless screenshot tool draws it at `percent`.
std::optional<ui::Image> reference_picture(int percent) {
    const std::string folder =
        percent == 100 ? std::string(TALVORO_SCREENSHOTS_DIR)
                       : std::string(TALVORO_SCREENSHOTS_DIR) + "/scale-" + std::to_string(percent);
    return ui::read_png(folder + "/main_control_en.png");
}

class ScaledWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(display_.empty()) << "Xvfb could not be started (scripts/test installs it)";
        ASSERT_EQ(mkdir(runtime_.c_str(), 0700), 0);
    }
    void TearDown() override {
        if (gui_ > 0) {
            kill(gui_, SIGTERM);
            int status = 0;
            waitpid(gui_, &status, 0);
        }
    }

    void start_gui(const Environment& environment) {
        gui_ = fork();
        if (gui_ == 0) {
            setenv("DISPLAY", display_.c_str(), 1);
            setenv("TALVORO_UI_DUMP", dump_.path().c_str(), 1);
            setenv("TALVORO_DATA_DIR", (folder_.path() + "/data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
            setenv("TALVORO_DESKTOP_SETTINGS", "file", 1);
            unsetenv("TALVORO_SCALE");
            // In the sanitizer build: the display libraries' own allocations live to the end.
            setenv("LSAN_OPTIONS", "suppressions=" TALVORO_LSAN_SUPPRESSIONS, 1);
            for (const auto& [name, value] : environment) {
                setenv(name.c_str(), value.c_str(), 1);
            }
            const std::string program = built_program("talvoro_gui");
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_GT(gui_, 0);
    }

    // Waits for the window and its start-up read of the mouse, and a frame after it.
    void wait_for_the_read() {
        ASSERT_TRUE(wait_for([&] { return dump_.shown("maincontrolbtn"); }, 60)) << "no window";
        ASSERT_TRUE(wait_for(
            [&] {
                return dump_.selected("profile1option") && dump_.selected("ledlightonoffoption");
            },
            30))
            << "the start-up read did not end";
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }

    // The window's size as the dump gives it, in physical pixels.
    ui::Size window_size() const {
        const auto root = dump_.control("main_root");
        return root ? ui::Size{root->rect.right - root->rect.left,
                               root->rect.bottom - root->rect.top}
                    : ui::Size{};
    }

    // Clicks the Performance tab at `origin` plus where the dump puts it, and waits for its page.
    void open_performance_page(ui::Point origin) {
        const auto tab = dump_.control("performancebtn");
        ASSERT_TRUE(tab.has_value());
        ASSERT_EQ(
            desktop_.click_at(origin.x + tab->rect.center_x(), origin.y + tab->rect.center_y()),
            "");
        EXPECT_TRUE(wait_for([&] { return dump_.shown("performance_root"); }, 10))
            << "the click did not reach the tab";
    }

    TempFolder folder_;
    const std::string runtime_ = folder_.path() + "/run";
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path() + "/hid"};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    VirtualMouseProcess mouse_{folder_.path() + "/hid"};
    UiDumpReader dump_{folder_.path() + "/ui.json"};
    XvfbDisplay xvfb_{60000, "2800x1800x24"};
    const std::string& display_ = xvfb_.display();
    DesktopDriver desktop_{display_};
    pid_t gui_ = -1;
};

TEST_F(ScaledWindowTest, AtXftDpi192TheX11WindowIsTwiceTheSizeAndLooksAsThe200PercentPicture) {
    ASSERT_TRUE(set_x_resources(display_, "Xft.dpi:\t192\n"));
    ASSERT_NO_FATAL_FAILURE(start_gui({}));
    ASSERT_NO_FATAL_FAILURE(wait_for_the_read());
    EXPECT_EQ(dump_.scale(), 200);
    const ui::Size size = window_size();
    ASSERT_EQ(size.width, 2050);
    ASSERT_EQ(size.height, 1402);
    const auto root = dump_.control("main_root");
    const ui::Rect area{root->rect.left, root->rect.top, root->rect.right, root->rect.bottom};
    const std::optional<ui::Image> shot = capture_screen(display_, area);
    const std::optional<ui::Image> reference = reference_picture(200);
    ASSERT_TRUE(shot.has_value());
    ASSERT_TRUE(reference.has_value());
    EXPECT_TRUE(ui::write_png(*shot, built_folder() + "x11_main_control_200.png"));
    EXPECT_LT(differing_share(*shot, *reference), 0.002);
    const auto screen = capture_screen(display_, ui::Rect{0, 0, 1, 1});
    ASSERT_TRUE(screen.has_value());
    EXPECT_EQ(shot->pixel(0, 0), screen->pixel(0, 0)) << "the corner is cut away";
    ASSERT_NO_FATAL_FAILURE(open_performance_page(ui::Point{0, 0}));
}

class WaylandWindowTest : public ScaledWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(WaylandWindowTest, TheWindowShowsWithTransparentCornersMovesByItsCaptionAndTakesClicks) {
    const int scale = GetParam();
    const WestonSession weston(display_, runtime_, 1400, 900, scale);
    ASSERT_EQ(weston.error(), "");
    const ui::Rect output{0, 0, 1400 * scale, 900 * scale};
    // The desktop as it is without the window, once it has faded in: two looks alike.
    std::optional<ui::Image> before;
    ASSERT_TRUE(wait_for(
        [&] {
            std::optional<ui::Image> earlier = std::move(before);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            before = capture_screen(display_, output);
            const ui::Point middle{output.width() / 2, output.height() / 2};
            return earlier && before &&
                   earlier->pixel(middle.x, middle.y) == before->pixel(middle.x, middle.y) &&
                   before->pixel(middle.x, middle.y) != ui::Color{0xFF, 0, 0, 0};
        },
        20));
    ASSERT_NO_FATAL_FAILURE(
        start_gui({{"SDL_VIDEODRIVER", "wayland"}, {"WAYLAND_DISPLAY", weston.socket()}}));
    ASSERT_NO_FATAL_FAILURE(wait_for_the_read());
    EXPECT_EQ(dump_.scale(), 100 * scale) << "the output's scale";
    // No program knows where the compositor put its window: the dump counts from its corner.
    EXPECT_EQ(dump_.control("main_root")->rect.left, 0);
    const ui::Size size = window_size();
    ASSERT_EQ(size.width, 1025 * scale);
    ASSERT_EQ(size.height, 701 * scale);

    // The compositor places the window: found where the screen shows its picture.
    const std::optional<ui::Image> shot = capture_screen(display_, output);
    const std::optional<ui::Image> reference = reference_picture(100 * scale);
    ASSERT_TRUE(shot.has_value());
    ASSERT_TRUE(reference.has_value());
    EXPECT_TRUE(ui::write_png(
        *shot, built_folder() + "wayland_screen_" + std::to_string(100 * scale) + ".png"));
    const std::optional<ui::Point> at = find_picture(*shot, *reference);
    ASSERT_TRUE(at.has_value()) << "the window is not on the screen";
    const ui::Image window =
        cut_out(*shot, ui::Rect{at->x, at->y, at->x + size.width, at->y + size.height});
    EXPECT_LT(differing_share(window, *reference), 0.002);
    EXPECT_EQ(shot->pixel(at->x, at->y), before->pixel(at->x, at->y))
        << "the cut corner shows what was behind the window";

    // The caption band drags the window through the compositor's own move.
    const int x = at->x + 600 * scale;
    const int y = at->y + 20 * scale;
    ASSERT_EQ(desktop_.drag(x, y, 60, 40), "");
    std::optional<ui::Point> moved;
    EXPECT_TRUE(wait_for(
        [&] {
            const std::optional<ui::Image> now = capture_screen(display_, output);
            moved = now ? find_picture(*now, *reference) : std::nullopt;
            return moved && moved->x == at->x + 60 && moved->y == at->y + 40;
        },
        10))
        << "the window did not follow the pointer";
    ASSERT_TRUE(moved.has_value());
    ASSERT_NO_FATAL_FAILURE(open_performance_page(*moved));
}

INSTANTIATE_TEST_SUITE_P(OutputScales, WaylandWindowTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "Scale" + std::to_string(info.param); });

}  // namespace
}  // namespace talvoro::test
