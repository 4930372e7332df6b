#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/container.h"
#include "core/label.h"
#include "core/paint_manager.h"
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
        }
    }
    std::vector<uintptr_t> fired;
};

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
    EXPECT_FALSE(manager.set_timer(probe, 3, 0));
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
    manager.set_timer(probe, 1, 50);
    now = Millis{1030};
    manager.set_timer(probe, 1, 50);  // the same id starts over
    EXPECT_EQ(manager.next_timer_due(), Millis{1080});
    EXPECT_TRUE(manager.kill_timer(probe, 1));
    EXPECT_FALSE(manager.kill_timer(probe, 1));
    EXPECT_FALSE(manager.next_timer_due());
    EXPECT_EQ(manager.fire_due_timers(Millis{5000}), 0u);
    manager.set_timer(probe, 2, 10);
    ASSERT_TRUE(root_->remove(probe));
    EXPECT_FALSE(manager.next_timer_due());
    EXPECT_EQ(manager.fire_due_timers(Millis{9000}), 0u);
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
