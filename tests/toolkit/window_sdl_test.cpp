#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/sdl/caption_hit_test.h"
#include "platform/sdl/event_loop.h"
#include "platform/sdl/event_translation.h"
#include "platform/sdl/sdl_window_backend.h"
#include "platform/sdl/virtual_key_table.h"
#include "platform/sdl/window_shape.h"
#include "render/mask_region.h"
#include "support/environment.h"
#include "window_test_window.h"

namespace talvoro::ui::test {
namespace {

namespace sdl = talvoro::platform::sdl;

// Real SDL windows; the dummy driver unless the environment chose a display.
class WindowSdlTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (std::getenv("DISPLAY") == nullptr) {
            if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
                ASSERT_TRUE(talvoro::test::set_environment_variable("SDL_VIDEODRIVER", "dummy"));
            }
        }
        ASSERT_TRUE(sdl::install_sdl_windows()) << SDL_GetError();
    }
    static void TearDownTestSuite() { set_window_backend_factory(nullptr); }
};

TEST_F(WindowSdlTest, IdleLoopSleepsWithoutTimers) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    ASSERT_FALSE(window.headless());
    window.show();
    // Let the events of creation pass first.
    window.post_message(WindowMessage::kCommand, 1);
    window.on_seen = [](const Seen&) { sdl::quit_event_loop(); };
    sdl::run_event_loop();
    SDL_Delay(50);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    window.on_seen = nullptr;

    const size_t before = sdl::event_loop_wakeups();
    std::thread quitter([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sdl::quit_event_loop();
    });
    sdl::run_event_loop();
    quitter.join();
    // The only wake-up is the one that asked to quit.
    EXPECT_EQ(sdl::event_loop_wakeups() - before, 1u);
}

TEST_F(WindowSdlTest, LoopWakesForTimers) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    window.set_timer(13, 20);
    window.on_seen = [&](const Seen& s) {
        if (s.msg == WindowMessage::kTimer && window.seen.size() == 3) {
            sdl::quit_event_loop();
        }
    };
    const auto start = std::chrono::steady_clock::now();
    sdl::run_event_loop();
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(window.seen.size(), 3u);
    EXPECT_EQ(window.seen[2].wparam, 13u);
    EXPECT_GE(took, std::chrono::milliseconds(55));
    EXPECT_LT(took, std::chrono::milliseconds(1000));
}

TEST_F(WindowSdlTest, PostFromAnotherThreadWakesTheLoop) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    window.on_seen = [](const Seen&) { sdl::quit_event_loop(); };
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        window.post_message(WindowMessage::kUser, 1127, 5);
    });
    sdl::run_event_loop();
    poster.join();
    ASSERT_EQ(window.seen.size(), 1u);
    EXPECT_EQ(window.seen[0].wparam, 1127u);
    EXPECT_EQ(window.seen[0].thread, std::this_thread::get_id());
}

TEST_F(WindowSdlTest, SdlClickReachesTheButton) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    auto* backend = dynamic_cast<sdl::SdlWindowBackend*>(window.backend());
    ASSERT_NE(backend, nullptr);
    window.paint_now();
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = SDL_GetWindowID(backend->sdl_window());
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = 1;
    event.button.x = 30;
    event.button.y = 50;
    SDL_PushEvent(&event);
    event.type = SDL_MOUSEBUTTONUP;
    SDL_PushEvent(&event);
    std::thread quitter([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        sdl::quit_event_loop();
    });
    sdl::run_event_loop();
    quitter.join();
    EXPECT_EQ(window.notes, (std::vector<std::string>{"click:ok"}));
}

TEST_F(WindowSdlTest, WheelExtraButtonsAndKeyRepeatBecomeMessages) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    auto* backend = dynamic_cast<sdl::SdlWindowBackend*>(window.backend());
    ASSERT_NE(backend, nullptr);
    window.paint_now();
    window.watched = {WindowMessage::kMouseWheel, WindowMessage::kButtonDown,
                      WindowMessage::kButtonUp, WindowMessage::kKeyDown, WindowMessage::kKeyUp};
    const Uint32 id = SDL_GetWindowID(backend->sdl_window());

    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = id;
    event.wheel.y = 3;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    event.wheel.mouseX = 30;
    event.wheel.mouseY = 50;
    EXPECT_TRUE(sdl::dispatch_sdl_event(event));
    event.wheel.y = 1;
    event.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;  // a natural-scrolling touchpad turned back
    EXPECT_TRUE(sdl::dispatch_sdl_event(event));
    event.wheel.y = 0;  // sideways only
    event.wheel.x = 2;
    EXPECT_FALSE(sdl::dispatch_sdl_event(event));

    // The extra buttons arrive with their numbers over the "ok" button, which ignores them.
    event = SDL_Event{};
    event.button.windowID = id;
    event.button.clicks = 1;
    event.button.x = 30;
    event.button.y = 50;
    for (const Uint8 button : {Uint8{SDL_BUTTON_X1}, Uint8{SDL_BUTTON_X2}}) {
        event.button.button = button;
        event.type = SDL_MOUSEBUTTONDOWN;
        EXPECT_TRUE(sdl::dispatch_sdl_event(event));
        event.type = SDL_MOUSEBUTTONUP;
        EXPECT_TRUE(sdl::dispatch_sdl_event(event));
    }

    event = SDL_Event{};
    event.key.windowID = id;
    event.key.keysym.sym = SDLK_a;
    event.type = SDL_KEYDOWN;
    EXPECT_TRUE(sdl::dispatch_sdl_event(event));
    event.key.repeat = 1;
    EXPECT_TRUE(sdl::dispatch_sdl_event(event));
    event.type = SDL_KEYUP;
    event.key.repeat = 0;
    EXPECT_TRUE(sdl::dispatch_sdl_event(event));

    const intptr_t at = make_point_param(30, 50);
    ASSERT_EQ(window.seen.size(), 9u);
    EXPECT_EQ(window.seen[0].msg, WindowMessage::kMouseWheel);
    EXPECT_EQ(wheel_notches(window.seen[0].wparam), 3);
    EXPECT_EQ(window.seen[0].lparam, at);
    EXPECT_EQ(wheel_notches(window.seen[1].wparam), -1);
    const WindowMessage buttons[] = {WindowMessage::kButtonDown, WindowMessage::kButtonUp};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window.seen[2 + i].msg, buttons[i % 2]);
        EXPECT_EQ(window.seen[2 + i].wparam, i < 2 ? 4u : 5u);
        EXPECT_EQ(window.seen[2 + i].lparam, at);
    }
    EXPECT_EQ(window.seen[6].msg, WindowMessage::kKeyDown);
    EXPECT_EQ(window.seen[6].wparam, uintptr_t{'A'});
    EXPECT_EQ(window.seen[6].lparam, 0);
    EXPECT_EQ(window.seen[7].msg, WindowMessage::kKeyDown);
    EXPECT_EQ(window.seen[7].lparam, kKeyRepeatFlag);
    EXPECT_EQ(window.seen[8].msg, WindowMessage::kKeyUp);
    EXPECT_EQ(window.seen[8].lparam, 0);
    EXPECT_TRUE(window.notes.empty());
}

TEST_F(WindowSdlTest, OnlyPaintedRectanglesArePresented) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    window.show();
    auto* backend = dynamic_cast<sdl::SdlWindowBackend*>(window.backend());
    ASSERT_NE(backend, nullptr);
    window.paint_now();
    const size_t before = backend->presented_rects();
    window.manager().invalidate(Rect{10, 10, 20, 20});
    const auto drawn = window.paint_now();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(backend->presented_rects() - before, drawn.size());
    SDL_Surface* surface = SDL_GetWindowSurface(backend->sdl_window());
    ASSERT_NE(surface, nullptr);
    Uint8 r = 0, g = 0, b = 0;
    const auto* row = static_cast<const Uint8*>(surface->pixels) + 15 * surface->pitch;
    Uint32 pixel = 0;
    std::memcpy(&pixel, row + 15 * surface->format->BytesPerPixel, surface->format->BytesPerPixel);
    SDL_GetRGB(pixel, surface->format, &r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
}

TEST_F(WindowSdlTest, ShapeWithHoleFromMask) {
    Image mask = *Image::create(20, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool hole = x >= 5 && x < 15 && y >= 3 && y < 7;
            uint8_t* p = mask.data() + y * mask.stride() + x * 4;
            p[0] = p[1] = p[2] = hole ? 255 : 0;
            p[3] = 255;
        }
    }
    const std::vector<Rect> opaque = mask_region(mask);
    RecordingWindow window;
    ASSERT_TRUE(window.build("Shaped", Rect{0, 0, 20, 10}));
    auto* backend = dynamic_cast<sdl::SdlWindowBackend*>(window.backend());
    ASSERT_NE(backend, nullptr);
    if (!window.set_shape(opaque)) {
        GTEST_SKIP() << "no X display: the window cannot be shaped under "
                     << SDL_GetCurrentVideoDriver();
    }
    std::vector<Rect> shape;
    ASSERT_TRUE(sdl::read_window_shape(backend->sdl_window(), shape));
    auto covered = [&](int x, int y) {
        return std::any_of(shape.begin(), shape.end(),
                           [&](const Rect& r) { return r.contains(x, y); });
    };
    EXPECT_TRUE(covered(0, 0));
    EXPECT_TRUE(covered(19, 9));
    EXPECT_TRUE(covered(4, 5));
    EXPECT_FALSE(covered(5, 3));
    EXPECT_FALSE(covered(14, 6));
    EXPECT_TRUE(covered(15, 6));
}

TEST_F(WindowSdlTest, HitTestCallbackDragsInsideCaptionBandOnly) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    window.set_caption_band(Rect{0, 0, 80, 40});
    auto* backend = dynamic_cast<sdl::SdlWindowBackend*>(window.backend());
    ASSERT_NE(backend, nullptr);
    const SDL_Point in_band{90, 20};
    const SDL_Point below{90, 60};
    const SDL_Point margin{150, 20};
    const SDL_Point on_button{20, 20};
    EXPECT_EQ(sdl::caption_hit_test(backend->sdl_window(), &in_band, &window),
              SDL_HITTEST_DRAGGABLE);
    EXPECT_EQ(sdl::caption_hit_test(backend->sdl_window(), &below, &window), SDL_HITTEST_NORMAL);
    EXPECT_EQ(sdl::caption_hit_test(backend->sdl_window(), &margin, &window), SDL_HITTEST_NORMAL);
    EXPECT_EQ(sdl::caption_hit_test(backend->sdl_window(), &on_button, &window),
              SDL_HITTEST_NORMAL);
}

TEST(VirtualKeyTableTest, KeysBecomeWindowsCodes) {
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_a), 'A');
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_z), 'Z');
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_7), '7');
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_F1), 0x70);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_F12), 0x7B);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_F13), 0x7C);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_RETURN), 0x0D);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_ESCAPE), 0x1B);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_LEFT), 0x25);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_KP_0), 0x60);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_KP_9), 0x69);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_LSHIFT), 0xA0);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_SEMICOLON), 0xBA);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_QUOTE), 0xDE);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_SELECT), 0x29);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_HELP), 0x2F);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_SEPARATOR), 0x6C);
    EXPECT_EQ(sdl::virtual_key_from_sdl(SDLK_MUTE), 0);
}

}  // namespace
}  // namespace talvoro::ui::test
