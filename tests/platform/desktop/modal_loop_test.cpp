#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/label.h"
#include "core/window.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/repainting_wait.h"
#include "platform/sdl/event_loop.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window_backend.h"

namespace talvoro::platform {
namespace {

using ui::WindowMessage;

// A window that records the messages it is sent; `on` may act on them.
class Recorder : public ui::CWindowWnd {
  public:
    std::vector<WindowMessage> seen;
    std::function<void(WindowMessage, uintptr_t)> on;

    bool build(const char* title) {
        if (!create(nullptr, title, ui::Size{120, 80})) {
            return false;
        }
        auto label = std::make_unique<ui::CLabelUI>();
        label->set_text(title);
        manager().set_root(std::move(label));
        show();
        return true;
    }
    bool saw(WindowMessage msg) const {
        return std::find(seen.begin(), seen.end(), msg) != seen.end();
    }
    uint32_t sdl_id() const {
        return SDL_GetWindowID(dynamic_cast<sdl::SdlWindowBackend*>(backend())->sdl_window());
    }

  protected:
    intptr_t handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                            bool& handled) override {
        seen.push_back(msg);
        if (on) {
            on(msg, wparam);
        }
        return CWindowWnd::handle_message(msg, wparam, lparam, handled);
    }
};

void push_button_down(uint32_t window_id) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = window_id;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.clicks = 1;
    event.button.x = 5;
    event.button.y = 5;
    SDL_PushEvent(&event);
}

void push_key_down(uint32_t window_id) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = window_id;
    event.key.keysym.sym = SDLK_a;
    SDL_PushEvent(&event);
}

void push_window_close(uint32_t window_id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window_id;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&event);
}

// Real SDL windows on SDL's dummy driver: events and loops are real, nothing shows.
class ModalLoopTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE(sdl::install_sdl_windows()) << SDL_GetError();
    }
    static void TearDownTestSuite() { ui::set_window_backend_factory(nullptr); }
    void SetUp() override {
        ASSERT_TRUE(main_.build("main"));
        ASSERT_TRUE(dialog_.build("dialog"));
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override { SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); }

    Recorder main_;
    Recorder dialog_;
};

TEST_F(ModalLoopTest, EndsWhenTheDialogGoes) {
    dialog_.on = [&](WindowMessage msg, uintptr_t) {
        if (msg == WindowMessage::kTimer) {
            dialog_.close();
        }
    };
    dialog_.set_timer(1, 10);
    sdl::run_modal_loop(dialog_);
    EXPECT_FALSE(dialog_.is_created());
    EXPECT_TRUE(main_.is_created());
}

TEST_F(ModalLoopTest, InputReachesOnlyTheDialog) {
    dialog_.on = [&](WindowMessage msg, uintptr_t) {
        if (msg == WindowMessage::kButtonDown) {
            dialog_.close();
        }
    };
    push_button_down(main_.sdl_id());
    push_key_down(main_.sdl_id());
    push_window_close(main_.sdl_id());
    push_button_down(dialog_.sdl_id());
    sdl::run_modal_loop(dialog_);

    EXPECT_FALSE(dialog_.is_created());
    EXPECT_FALSE(main_.saw(WindowMessage::kButtonDown));
    EXPECT_FALSE(main_.saw(WindowMessage::kKeyDown));
    EXPECT_FALSE(main_.saw(WindowMessage::kClose));
    EXPECT_TRUE(main_.is_created());
}

TEST_F(ModalLoopTest, OtherWindowsKeepTheirTimersAndPostedMessages) {
    int ticks = 0;
    main_.on = [&](WindowMessage msg, uintptr_t wparam) {
        if (msg == WindowMessage::kTimer && wparam == 13 && ++ticks == 3) {
            dialog_.close();
        }
    };
    main_.post_message(WindowMessage::kUser, 1127);
    main_.set_timer(13, 5);
    sdl::run_modal_loop(dialog_);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(main_.saw(WindowMessage::kUser));
}

TEST_F(ModalLoopTest, AQuitAskedMeanwhileEndsThisLoopAndTheOuterOne) {
    std::thread quitter([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        sdl::quit_event_loop();
    });
    sdl::run_modal_loop(dialog_);
    quitter.join();
    EXPECT_TRUE(dialog_.is_created());  // the caller decides what becomes of it
    const auto start = std::chrono::steady_clock::now();
    sdl::run_event_loop();  // the quit is still asked: returns at once
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(ModalLoopTest, TheSessionEndingClosesTheDialogAndReachesTheOuterLoop) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    sdl::run_modal_loop(dialog_);
    EXPECT_FALSE(dialog_.is_created());
    EXPECT_TRUE(main_.is_created());
    // Taken once and put back for the outer loop.
    SDL_PumpEvents();
    SDL_Event events[4];
    EXPECT_EQ(SDL_PeepEvents(events, 4, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);
}

TEST_F(ModalLoopTest, AHeadlessDialogReturnsAtOnce) {
    ui::set_window_backend_factory(nullptr);
    Recorder headless;
    ASSERT_TRUE(headless.build("headless"));
    sdl::install_sdl_windows();
    ASSERT_TRUE(headless.headless());
    sdl::run_modal_loop(headless);
    EXPECT_TRUE(headless.is_created());
}

TEST_F(ModalLoopTest, PaintOnlyLoopPaintsButLeavesInputAndMessages) {
    main_.paint_now();
    main_.seen.clear();
    main_.manager().invalidate_all();
    main_.post_message(WindowMessage::kUser, 7);
    push_button_down(main_.sdl_id());
    std::atomic<bool> done{false};
    std::thread finisher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        done = true;
        sdl::push_wake_event();
    });
    sdl::run_paint_only_loop([&] { return done.load(); });
    finisher.join();
    EXPECT_TRUE(main_.saw(WindowMessage::kPaint));
    EXPECT_FALSE(main_.saw(WindowMessage::kUser));
    EXPECT_FALSE(main_.saw(WindowMessage::kButtonDown));
    EXPECT_TRUE(main_.manager().invalid_region().empty());
    // The message waited for the outer loop.
    main_.process_pending();
    EXPECT_TRUE(main_.saw(WindowMessage::kUser));
}

TEST_F(ModalLoopTest, SlowWorkRunsElsewhereWhileWindowsPaint) {
    main_.paint_now();
    std::atomic<bool> painted{false};
    main_.on = [&](WindowMessage msg, uintptr_t) {
        if (msg == WindowMessage::kPaint) {
            painted = true;
        }
    };
    main_.manager().invalidate_all();
    std::thread::id worker;
    bool saw_paint_while_working = false;
    run_while_repainting([&] {
        worker = std::this_thread::get_id();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!painted && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        saw_paint_while_working = painted;
    });
    EXPECT_NE(worker, std::this_thread::get_id());
    EXPECT_TRUE(saw_paint_while_working);
}

TEST_F(ModalLoopTest, WithoutADisplayDialogsAnswerAtOnce) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::kSave;
    request.patterns = {"*.qxp"};
    EXPECT_FALSE(run_file_dialog(request, &main_));
    EXPECT_FALSE(run_file_dialog(request, nullptr));

    testing::internal::CaptureStderr();
    show_message_box("load QX api failed !\n", "Notice by App", MessageIcon::kInformation, nullptr);
    show_message_box("Save the profile error .", "Notice by App", MessageIcon::kNone, &main_);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Notice by App: load QX api failed !\nNotice by App: Save the profile error .\n");
    EXPECT_EQ(ui::CWindowWnd::live_windows().size(), 2u);  // no box was left behind
}

}  // namespace
}  // namespace talvoro::platform
