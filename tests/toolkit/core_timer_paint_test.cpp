#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/container.h"
#include "core/label.h"
#include "core/paint_manager.h"
#include "core/window.h"
#include "render/png_writer.h"
#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

using Millis = CPaintManagerUI::Millis;

// Remembers the ids of the timers that fired on it.
class TimerProbe : public CLabelUI {
  public:
    void do_event(ControlEvent& event) override {
        if (event.type == EventType::kTimer) {
            fired.push_back(event.wparam);
            if (on_timer) {
                on_timer(event.wparam);
            }
        }
    }
    std::vector<uintptr_t> fired;
    std::function<void(uintptr_t id)> on_timer;
};

// A headless window that keeps timers of one kind, its own or a control's, behind one set of
// calls, and logs every firing with the clock's time.
class TimerWindow : public CWindowWnd {
  public:
    using Log = std::vector<std::pair<long long, uintptr_t>>;

    class Probe : public CLabelUI {
      public:
        explicit Probe(TimerWindow& window) : window_(window) {}
        void do_event(ControlEvent& event) override {
            if (event.type == EventType::kTimer) {
                window_.fired(event.wparam);
            }
        }

      private:
        TimerWindow& window_;
    };

    explicit TimerWindow(bool control_timers) : control_timers_(control_timers) {
        set_clock([this] { return clock; });
    }
    bool build() {
        if (!create(nullptr, "timers", Size{100, 100})) {
            return false;
        }
        auto root = std::make_unique<CContainerUI>();
        probe = static_cast<Probe*>(root->add(std::make_unique<Probe>(*this)));
        manager().set_root(std::move(root));
        return true;
    }
    void set(uintptr_t id, unsigned ms) {
        if (control_timers_) {
            EXPECT_TRUE(manager().set_timer(probe, id, ms));
        } else {
            set_timer(id, ms);
        }
    }
    bool kill(uintptr_t id) {
        return control_timers_ ? manager().kill_timer(probe, id) : kill_timer(id);
    }
    // One pass of the event loop at `at`.
    void pass_at(long long at) {
        clock = Millis{at};
        process_pending();
    }

    Millis clock{1000};
    Log log;
    std::function<void(uintptr_t id)> on_fire;
    Probe* probe = nullptr;

  protected:
    intptr_t handle_message(WindowMessage msg, uintptr_t wparam, intptr_t, bool& handled) override {
        if (msg == WindowMessage::kTimer) {
            handled = true;
            fired(wparam);
        }
        return 0;
    }

  private:
    void fired(uintptr_t id) {
        log.emplace_back(clock.count(), id);
        if (on_fire) {
            on_fire(id);
        }
    }
    bool control_timers_;
};

// One schedule, played on a window's timers and on a control's: on time, late, killed and re-set
// from a handler, and 0 ms. Both must fire alike, and as the rules say.
TEST(TimerEngineTest, WindowAndControlTimersFireAlikeThroughOneSchedule) {
    std::vector<TimerWindow::Log> logs;
    std::vector<std::vector<std::optional<Millis>>> dues;
    for (const bool control_timers : {false, true}) {
        SCOPED_TRACE(control_timers ? "control timers" : "window timers");
        TimerWindow w(control_timers);
        ASSERT_TRUE(w.build());
        std::vector<std::optional<Millis>> due;
        w.set(13, 100);
        w.set(14, 250);
        w.set(15, 0);  // as soon as possible, then every 1 ms
        due.push_back(w.next_timer_due());
        w.pass_at(1001);
        w.pass_at(1002);
        EXPECT_TRUE(w.kill(15));
        EXPECT_FALSE(w.kill(15));
        w.pass_at(1099);                    // nothing due
        w.pass_at(1100);                    // 13 on time
        w.pass_at(1203);                    // 13 a little late: its period does not drift
        due.push_back(w.next_timer_due());  // 14's first
        w.pass_at(1300);                    // 14 (due 1250) before 13 (due 1300)
        w.pass_at(1750);                    // both late by intervals: each fires once, no burst
        due.push_back(w.next_timer_due());
        w.pass_at(1799);
        w.pass_at(1800);  // 13 back on its phase
        // 13's handler kills 14, due in the same pass: 14 must not fire.
        w.on_fire = [&](uintptr_t id) {
            if (id == 13) {
                w.kill(14);
            }
        };
        w.pass_at(2000);
        due.push_back(w.next_timer_due());
        // 13's handler re-sets 14, due in the same pass: 14 starts over instead of firing.
        w.set(14, 250);
        w.on_fire = [&](uintptr_t id) {
            if (id == 13) {
                w.set(14, 100);
            }
        };
        w.pass_at(2300);
        w.on_fire = nullptr;
        due.push_back(w.next_timer_due());
        w.pass_at(2400);  // both due at once: in the order they were set
        // A handler re-setting its own timer at 0 ms: next pass, not this one.
        w.on_fire = [&](uintptr_t id) {
            if (id == 14) {
                w.set(14, 0);
            }
        };
        w.pass_at(2500);
        w.on_fire = nullptr;
        w.pass_at(2501);
        due.push_back(w.next_timer_due());
        // Killed ones never fire, however long the wait.
        EXPECT_TRUE(w.kill(13));
        EXPECT_TRUE(w.kill(14));
        EXPECT_FALSE(w.next_timer_due());
        w.pass_at(9000);
        logs.push_back(w.log);
        dues.push_back(due);
    }
    const TimerWindow::Log expected = {{1001, 15}, {1002, 15}, {1100, 13}, {1203, 13},
                                       {1300, 14}, {1300, 13}, {1750, 13}, {1750, 14},
                                       {1800, 13}, {2000, 13}, {2300, 13}, {2400, 13},
                                       {2400, 14}, {2500, 13}, {2500, 14}, {2501, 14}};
    EXPECT_EQ(logs[0], expected);
    EXPECT_EQ(logs[1], expected);
    const std::vector<std::optional<Millis>> expected_dues = {
        Millis{1001}, Millis{1250}, Millis{1800}, Millis{2100}, Millis{2400}, Millis{2502}};
    EXPECT_EQ(dues[0], expected_dues);
    EXPECT_EQ(dues[1], expected_dues);
}

class CoreTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        manager.set_clock([this] { return now; });
        auto root = std::make_unique<CContainerUI>();
        root_ = root.get();
        probe = static_cast<TimerProbe*>(root->add(std::make_unique<TimerProbe>()));
        manager.set_root(std::move(root));
    }
    CPaintManagerUI manager;
    Millis now{1000};
    CContainerUI* root_ = nullptr;
    TimerProbe* probe = nullptr;
};

TEST_F(CoreTimerTest, TimersFireWhenDueAndRepeat) {
    EXPECT_FALSE(manager.next_timer_due());
    ASSERT_TRUE(manager.set_timer(probe, 7, 100));
    ASSERT_TRUE(manager.set_timer(probe, 9, 250));
    EXPECT_FALSE(manager.set_timer(nullptr, 3, 10));
    EXPECT_EQ(manager.next_timer_due(), Millis{1100});
    EXPECT_EQ(manager.fire_due_timers(Millis{1099}), 0u);
    EXPECT_TRUE(probe->fired.empty());
    EXPECT_EQ(manager.fire_due_timers(Millis{1100}), 1u);
    EXPECT_EQ(probe->fired, (std::vector<uintptr_t>{7}));
    EXPECT_EQ(manager.next_timer_due(), Millis{1200});
    // A late loop fires each due timer once.
    EXPECT_EQ(manager.fire_due_timers(Millis{1700}), 2u);
    EXPECT_EQ(probe->fired, (std::vector<uintptr_t>{7, 7, 9}));
    EXPECT_GT(*manager.next_timer_due(), Millis{1700});
}

TEST_F(CoreTimerTest, KillingResettingAndRemovingTheControlStopTimers) {
    EXPECT_TRUE(manager.set_timer(probe, 1, 50));
    now = Millis{1030};
    EXPECT_TRUE(manager.set_timer(probe, 1, 50));  // the same id starts over
    EXPECT_EQ(manager.next_timer_due(), Millis{1080});
    EXPECT_TRUE(manager.kill_timer(probe, 1));
    EXPECT_FALSE(manager.kill_timer(probe, 1));
    EXPECT_FALSE(manager.next_timer_due());
    EXPECT_EQ(manager.fire_due_timers(Millis{5000}), 0u);
    EXPECT_TRUE(manager.set_timer(probe, 2, 10));
    ASSERT_TRUE(root_->remove(probe));
    EXPECT_FALSE(manager.next_timer_due());
    EXPECT_EQ(manager.fire_due_timers(Millis{9000}), 0u);

    // A control removed by an earlier handler of the same pass, while its own timer is due:
    // it is gone, so its timer must not reach it.
    auto* first = static_cast<TimerProbe*>(root_->add(std::make_unique<TimerProbe>()));
    auto* doomed = static_cast<TimerProbe*>(root_->add(std::make_unique<TimerProbe>()));
    now = Millis{10000};
    EXPECT_TRUE(manager.set_timer(first, 1, 10));
    EXPECT_TRUE(manager.set_timer(doomed, 1, 10));
    first->on_timer = [&](uintptr_t) { root_->remove(doomed); };
    EXPECT_EQ(manager.fire_due_timers(Millis{10010}), 1u);
    EXPECT_EQ(first->fired, std::vector<uintptr_t>{1});
    EXPECT_EQ(manager.next_timer_due(), Millis{10020});
}

TEST_F(CoreTimerTest, SettingATimerWakesTheEventLoop) {
    int wakeups = 0;
    manager.set_async_wakeup([&] { ++wakeups; });
    EXPECT_TRUE(manager.set_timer(probe, 1, 1000));
    EXPECT_EQ(wakeups, 1);
    // A restart may bring the due nearer than what the loop sleeps towards.
    EXPECT_TRUE(manager.set_timer(probe, 1, 10));
    EXPECT_EQ(wakeups, 2);
    EXPECT_FALSE(manager.set_timer(nullptr, 1, 10));
    EXPECT_EQ(wakeups, 2);
}

constexpr Color kRed{255, 255, 0, 0};
constexpr Color kGreen{255, 0, 255, 0};
constexpr Color kBlue{255, 0, 0, 255};
constexpr Color kWhite{255, 255, 255, 255};

class CorePaintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto root = std::make_unique<CContainerUI>();
        root->set_attribute("bkcolor", "#FFFF0000");
        root_ = root.get();
        auto label = std::make_unique<CLabelUI>();
        label->set_attribute("float", "true");
        label->set_attribute("pos", "10,10,30,30");
        box = root->add(std::move(label));
        manager.set_root(std::move(root));
        manager.set_client_size({60, 40});
        canvas.resize(60, 40);
    }
    CPaintManagerUI manager;
    Canvas canvas;
    CContainerUI* root_ = nullptr;
    CControlUI* box = nullptr;
};

TEST_F(CorePaintTest, OnlyTheInvalidAreaIsRedrawn) {
    auto painted = manager.paint(canvas);
    EXPECT_EQ(painted, (std::vector<Rect>{{0, 0, 60, 40}}));
    EXPECT_EQ(canvas.pixel(50, 35), kRed);
    EXPECT_TRUE(manager.invalid_region().empty());
    // Marks drawn by hand survive where nothing was invalidated.
    canvas.fill_rect(Rect{0, 0, 60, 40}, kBlue);
    box->set_attribute("bkcolor", "#FF00FF00");
    EXPECT_EQ(manager.invalid_region(), (std::vector<Rect>{{10, 10, 30, 30}}));
    painted = manager.paint(canvas);
    EXPECT_EQ(painted, (std::vector<Rect>{{10, 10, 30, 30}}));
    EXPECT_EQ(canvas.pixel(10, 10), kGreen);
    EXPECT_EQ(canvas.pixel(29, 29), kGreen);
    EXPECT_EQ(canvas.pixel(30, 30), kBlue);
    EXPECT_EQ(canvas.pixel(9, 10), kBlue);
    EXPECT_TRUE(manager.paint(canvas).empty());
    EXPECT_EQ(canvas.pixel(50, 35), kBlue);
    // A part of a control: the rest of it keeps its pixels.
    canvas.fill_rect(Rect{0, 0, 60, 40}, kBlue);
    manager.invalidate(Rect{25, 0, 60, 15});
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(26, 12), kGreen);
    EXPECT_EQ(canvas.pixel(24, 12), kBlue);
    EXPECT_EQ(canvas.pixel(50, 5), kRed);
    EXPECT_EQ(canvas.pixel(50, 20), kBlue);
}

TEST_F(CorePaintTest, InvalidRegionMergesAndStaysInsideTheWindow) {
    manager.paint(canvas);
    manager.invalidate(Rect{0, 0, 10, 10});
    manager.invalidate(Rect{2, 2, 5, 5});
    manager.invalidate(Rect{50, 30, 100, 100});
    manager.invalidate(Rect{-5, -5, -1, -1});
    EXPECT_EQ(manager.invalid_region(), (std::vector<Rect>{{0, 0, 10, 10}, {50, 30, 60, 40}}));
    manager.invalidate(Rect{0, 0, 20, 20});
    EXPECT_EQ(manager.invalid_region(), (std::vector<Rect>{{50, 30, 60, 40}, {0, 0, 20, 20}}));
    for (int i = 0; i < 100; ++i) {
        manager.invalidate(Rect{i % 60, i % 40, i % 60 + 1, i % 40 + 1});
    }
    EXPECT_LE(manager.invalid_region().size(), 33u);
    for (const Rect& r : manager.invalid_region()) {
        EXPECT_EQ(r.intersect(Rect{0, 0, 60, 40}), r);
    }
}

TEST_F(CorePaintTest, BorderGoesOverTheBackgroundAndImagesComeFromTheCache) {
    test::TempFolder folder;
    Image picture = *Image::create(4, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            picture.set_pixel(x, y, x < 2 ? kWhite : Color{255, 255, 0, 255});
        }
    }
    ASSERT_TRUE(write_png(picture, folder.file("pic.png")));
    manager.image_cache().set_base_folder(folder.path());
    box->set_attribute("bordercolor", "#FF0000FF");
    box->set_attribute("bordersize", "2");
    // The white half of the picture, masked by nothing, stretched over the box.
    box->set_attribute("bkimage", "file='pic.png' source='0,0,2,4'");
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(10, 10), kBlue);
    EXPECT_EQ(canvas.pixel(11, 20), kBlue);
    EXPECT_EQ(canvas.pixel(12, 12), kWhite);
    EXPECT_EQ(canvas.pixel(24, 24), kWhite);
    EXPECT_EQ(canvas.pixel(31, 31), kRed);
    // A picture that cannot be loaded draws nothing and breaks nothing.
    box->set_attribute("bkimage", "missing.png");
    box->set_attribute("bkcolor", "#FF00FF00");
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(15, 15), kGreen);
}

TEST_F(CorePaintTest, AChangeOfSkinRedrawsEveryWindowFromTheNewFolder) {
    // Two skin folders holding the same file name in different colours.
    test::TempFolder red_skin;
    test::TempFolder green_skin;
    Image picture = *Image::create(2, 2);
    for (auto [folder, colour] : {std::pair{&red_skin, kRed}, std::pair{&green_skin, kGreen}}) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 2; ++x)
                picture.set_pixel(x, y, colour);
        }
        ASSERT_TRUE(write_png(picture, folder->file("face.png")));
    }
    CPaintManagerUI second;
    auto other_root = std::make_unique<CLabelUI>();
    other_root->set_attribute("bkimage", "face.png");
    second.set_root(std::move(other_root));
    second.set_client_size(Size{40, 40});
    Canvas other(40, 40);
    box->set_attribute("bkimage", "face.png");

    CPaintManagerUI::reload_all_images(red_skin.path());
    manager.paint(canvas);
    second.paint(other);
    EXPECT_EQ(canvas.pixel(20, 20), kRed);
    EXPECT_EQ(other.pixel(20, 20), kRed);

    CPaintManagerUI::reload_all_images(green_skin.path());
    EXPECT_FALSE(manager.paint(canvas).empty()) << "every window is redrawn";
    EXPECT_FALSE(second.paint(other).empty());
    EXPECT_EQ(canvas.pixel(20, 20), kGreen);
    EXPECT_EQ(other.pixel(20, 20), kGreen);
}

}  // namespace
}  // namespace talvoro::ui
