#include <gtest/gtest.h>

#include <thread>

#include "window_test_window.h"

namespace talvoro::ui::test {
namespace {

class Filter : public IMessageFilterUI {
  public:
    Filter(std::string name, std::vector<std::string>& order, bool handles)
        : name_(std::move(name)), order_(order), handles_(handles) {}
    intptr_t message_handler(WindowMessage msg, uintptr_t, intptr_t, bool& handled) override {
        if (msg == WindowMessage::kCommand) {
            order_.push_back(name_);
            handled = handles_;
        }
        return handled ? 42 : 0;
    }

  private:
    std::string name_;
    std::vector<std::string>& order_;
    bool handles_;
};

TEST(WindowHeadlessTest, HandlerThenFiltersThenManager) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    ASSERT_TRUE(window.headless());
    Filter first("first", window.order, false);
    Filter second("second", window.order, false);
    window.add_message_filter(&first);
    window.add_message_filter(&second);
    EXPECT_EQ(window.send_message(WindowMessage::kCommand, 2001), 0);
    EXPECT_EQ(window.order, (std::vector<std::string>{"window", "first", "second", "manager"}));
    // The filters end before the window, whose destruction still sends messages.
    window.remove_message_filter(&first);
    window.remove_message_filter(&second);
}

TEST(WindowHeadlessTest, HandledMessageStops) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    Filter first("first", window.order, true);
    Filter second("second", window.order, false);
    window.add_message_filter(&first);
    window.add_message_filter(&second);
    EXPECT_EQ(window.send_message(WindowMessage::kCommand, 2001), 42);
    EXPECT_EQ(window.order, (std::vector<std::string>{"window", "first"}));

    window.order.clear();
    window.stop_at = WindowMessage::kCommand;
    EXPECT_EQ(window.send_message(WindowMessage::kCommand, 2001), 7);
    EXPECT_EQ(window.order, (std::vector<std::string>{"window"}));

    window.order.clear();
    window.stop_at.reset();
    window.remove_message_filter(&first);
    window.send_message(WindowMessage::kCommand, 2001);
    EXPECT_EQ(window.order, (std::vector<std::string>{"window", "second", "manager"}));
    window.remove_message_filter(&second);
}

TEST(WindowHeadlessTest, PostedFromAnotherThreadArrivesLaterOnTheUiThread) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    std::thread poster([&] { window.post_message(WindowMessage::kUser, 1127, 99); });
    poster.join();
    EXPECT_TRUE(window.seen.empty()) << "delivered inside post_message";
    EXPECT_TRUE(window.has_pending_work());
    window.process_pending();
    ASSERT_EQ(window.seen.size(), 1u);
    EXPECT_EQ(window.seen[0].msg, WindowMessage::kUser);
    EXPECT_EQ(window.seen[0].wparam, 1127u);
    EXPECT_EQ(window.seen[0].lparam, 99);
    EXPECT_EQ(window.seen[0].thread, std::this_thread::get_id());
    window.process_pending();
    EXPECT_EQ(window.seen.size(), 1u) << "delivered twice";
}

TEST(WindowHeadlessTest, PostsKeepTheirOrder) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    for (uintptr_t i = 0; i < 5; ++i) {
        window.post_message(WindowMessage::kDeviceChange, 0x8000 + i);
    }
    window.process_pending();
    ASSERT_EQ(window.seen.size(), 5u);
    for (uintptr_t i = 0; i < 5; ++i) {
        EXPECT_EQ(window.seen[i].wparam, 0x8000 + i);
    }
}

TEST(WindowHeadlessTest, TimersFireByIdWhenDue) {
    RecordingWindow window;
    CWindowWnd::Millis clock{1000};
    window.set_clock([&] { return clock; });
    ASSERT_TRUE(window.build());
    window.set_timer(13, 100);
    window.set_timer(14, 250);
    EXPECT_EQ(window.next_timer_due(), CWindowWnd::Millis{1100});
    clock = CWindowWnd::Millis{1099};
    window.process_pending();
    EXPECT_TRUE(window.seen.empty());
    clock = CWindowWnd::Millis{1100};
    window.process_pending();
    ASSERT_EQ(window.seen.size(), 1u);
    EXPECT_EQ(window.seen[0].msg, WindowMessage::kTimer);
    EXPECT_EQ(window.seen[0].wparam, 13u);
    clock = CWindowWnd::Millis{1260};
    window.process_pending();
    ASSERT_EQ(window.seen.size(), 3u);
    EXPECT_EQ(window.seen[1].wparam, 13u);
    EXPECT_EQ(window.seen[2].wparam, 14u);
    EXPECT_TRUE(window.kill_timer(13));
    EXPECT_FALSE(window.kill_timer(13));
    clock = CWindowWnd::Millis{2000};
    window.process_pending();
    ASSERT_EQ(window.seen.size(), 4u);
    EXPECT_EQ(window.seen[3].wparam, 14u);
    EXPECT_EQ(window.next_timer_due(), CWindowWnd::Millis{2250});
}

TEST(WindowHeadlessTest, CaptionBandDragsOutsideButtonsOnly) {
    RecordingWindow window;
    ASSERT_TRUE(window.build());
    // From the left edge to 80 pixels before the right edge, 40 pixels high.
    window.set_caption_band(Rect{0, 0, 80, 40});
    using H = CWindowWnd::HitTest;
    EXPECT_EQ(window.hit_test({70, 10}), H::kCaption);
    EXPECT_EQ(window.hit_test({119, 39}), H::kCaption);
    EXPECT_EQ(window.hit_test({120, 10}), H::kClient) << "right margin";
    EXPECT_EQ(window.hit_test({70, 40}), H::kClient) << "below the band";
    EXPECT_EQ(window.hit_test({10, 10}), H::kClient) << "the button takes its clicks";
}

TEST(WindowHeadlessTest, PopupIsCentredOverOwnerInsideWorkArea) {
    RecordingWindow owner;
    owner.set_headless_work_area(Rect{0, 0, 1000, 700});
    ASSERT_TRUE(owner.build("Owner", Rect{100, 100, 500, 400}));
    CWindowWnd popup;
    popup.set_headless_work_area(Rect{0, 0, 1000, 700});
    ASSERT_TRUE(popup.create(&owner, "Popup", Size{100, 50}, true));
    EXPECT_EQ(popup.rect(), (Rect{250, 225, 350, 275}));
    owner.move(Rect{-300, 650, 100, 950});
    popup.center_over(&owner, Rect{0, 0, 1000, 700});
    EXPECT_EQ(popup.rect(), (Rect{0, 650, 100, 700})) << "kept inside the work area";
}

TEST(WindowHeadlessTest, MaximizeFillsWorkAreaAndResizesCanvas) {
    RecordingWindow window;
    window.set_headless_work_area(Rect{0, 30, 800, 600});
    ASSERT_TRUE(window.build());
    window.maximize_to_work_area();
    EXPECT_EQ(window.rect(), (Rect{0, 30, 800, 600}));
    EXPECT_EQ(window.canvas().width(), 800);
    EXPECT_EQ(window.canvas().height(), 570);
    EXPECT_EQ(window.manager().client_size(), (Size{800, 570}));
}

TEST(WindowHeadlessTest, CloseDestroysOnceAndStopsTimers) {
    RecordingWindow window;
    window.watched = {WindowMessage::kClose, WindowMessage::kDestroy};
    ASSERT_TRUE(window.build());
    window.set_timer(13, 1);
    window.close();
    EXPECT_FALSE(window.is_created());
    ASSERT_EQ(window.seen.size(), 2u);
    EXPECT_EQ(window.seen[0].msg, WindowMessage::kClose);
    EXPECT_EQ(window.seen[1].msg, WindowMessage::kDestroy);
    EXPECT_FALSE(window.next_timer_due().has_value());
    window.destroy();
    EXPECT_EQ(window.seen.size(), 2u);
}

TEST(WindowHeadlessTest, PointParamsKeepNegativeCoordinates) {
    EXPECT_EQ(point_from_param(make_point_param(-5, 700)), (Point{-5, 700}));
    EXPECT_EQ(point_from_param(make_point_param(1024, -1)), (Point{1024, -1}));
}

// A window keeps its logical size across scales: its rectangle on the screen and its canvas
// follow the scale, a new scale redraws everything and tells the window, and a physical size
// given to move() is rounded up to whole logical pixels.
TEST(WindowHeadlessTest, TheScaleSizesTheWindowAndItsCanvas) {
    set_default_display_scale(*DisplayScale::from_percent(150));
    RecordingWindow window;
    window.watched.push_back(WindowMessage::kScaleChanged);
    set_default_display_scale(DisplayScale{});
    ASSERT_TRUE(window.build("Scaled", Rect{0, 0, 101, 51}));
    EXPECT_EQ(window.rect(), (Rect{0, 0, 152, 77}));
    EXPECT_EQ(window.canvas().image().width(), 152);
    EXPECT_EQ(window.client_size(), (Size{101, 51}));

    window.set_scale(*DisplayScale::from_percent(200));
    EXPECT_EQ(window.rect(), (Rect{0, 0, 202, 102}));
    EXPECT_EQ(window.canvas().image().height(), 102);
    EXPECT_EQ(window.client_size(), (Size{101, 51}));
    EXPECT_FALSE(window.manager().invalid_region().empty()) << "everything is drawn again";
    ASSERT_FALSE(window.seen.empty());
    EXPECT_EQ(window.seen.back().msg, WindowMessage::kScaleChanged);
    EXPECT_EQ(window.seen.back().wparam, 200u);

    window.move(Rect{10, 20, 10 + 301, 20 + 300});
    EXPECT_EQ(window.client_size(), (Size{151, 150}));
    EXPECT_EQ(window.rect(), (Rect{10, 20, 10 + 302, 20 + 300}));
}

}  // namespace
}  // namespace talvoro::ui::test
