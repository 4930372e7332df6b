// Which SDL video drivers count as a place for windows, on real SDL running its dummy driver.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "platform/desktop_display.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window_backend.h"
#include "support/temp_folder.h"

namespace talvoro::platform {
namespace {

using test::ScopedEnv;

// The dummy driver shows nothing: it is taken only when SDL_VIDEODRIVER names it, read as SDL
// reads that list (comma-separated, any case).
TEST(VideoDriver, AFallBackDriverIsTakenOnlyWhenNamed) {
    ScopedEnv chosen("SDL_VIDEODRIVER", "dummy");
    ASSERT_TRUE(sdl::ensure_sdl_video()) << SDL_GetError();
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "dummy");

    const struct {
        const char* list;
        bool accepted;
    } cases[] = {
        {"dummy", true}, {"x11,DUMMY", true}, {"wayland,dummy,x11", true},
        {"x11", false},  {"dummyx", false},   {"dum", false},
        {"x11,", false}, {"", false},
    };
    for (const auto& c : cases) {
        ScopedEnv list("SDL_VIDEODRIVER", c.list);
        EXPECT_EQ(sdl::video_driver_accepted(), c.accepted) << '"' << c.list << '"';
    }

    // Not named at all, as when SDL falls back by itself: no windows, and start-up is told no
    // display is named unless DISPLAY or WAYLAND_DISPLAY is.
    ::unsetenv("SDL_VIDEODRIVER");
    EXPECT_FALSE(sdl::video_driver_accepted());
    EXPECT_FALSE(sdl::install_sdl_windows());
    ScopedEnv no_x11("DISPLAY", "");
    ScopedEnv no_wayland("WAYLAND_DISPLAY", "");
    EXPECT_FALSE(display_named_in_environment());
    {
        ScopedEnv named("SDL_VIDEODRIVER", "dummy");
        EXPECT_TRUE(display_named_in_environment());
        EXPECT_TRUE(sdl::install_sdl_windows());
        ui::set_window_backend_factory(nullptr);
    }
    ScopedEnv x11("DISPLAY", ":0");
    EXPECT_TRUE(display_named_in_environment());
}

}  // namespace
}  // namespace talvoro::platform
