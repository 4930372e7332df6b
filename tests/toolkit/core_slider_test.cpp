#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/dialog_builder.h"
#include "core/paint_manager.h"
#include "core/slider.h"
#include "core/vertical_layout.h"

namespace talvoro::ui {
namespace {

class ValueRecorder : public INotifyUI {
  public:
    void notify(TNotifyUI& msg) override {
        auto* slider = dynamic_cast<CSliderUI*>(msg.sender);
        seen.push_back(msg.type + "=" +
                       (slider != nullptr ? std::to_string(slider->value()) : "?"));
    }
    std::vector<std::string> seen;
};

// A 110 x 20 horizontal slider at the window's origin with a 10-pixel thumb, range 0-100:
// the thumb's centre at x = 5 + value.
class CoreSliderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto root = std::make_unique<CVerticalLayoutUI>();
        auto owned = std::make_unique<CSliderUI>();
        slider = owned.get();
        slider->set_name("s");
        slider->set_fixed_height(20);
        slider->set_attribute("thumbsize", "10,20");
        root->add(std::move(owned));
        manager.set_root(std::move(root));
        manager.set_client_size({110, 100});
        manager.add_notifier(&recorder);
        manager.update_layout();
    }

    CPaintManagerUI manager;
    ValueRecorder recorder;
    CSliderUI* slider = nullptr;
};

TEST_F(CoreSliderTest, SetValueClampsAndSendsNothing) {
    slider->set_value(40);
    EXPECT_EQ(slider->value(), 40);
    slider->set_value(140);
    EXPECT_EQ(slider->value(), 100);
    slider->set_value(-3);
    EXPECT_EQ(slider->value(), 0);
    slider->set_value(70);
    slider->set_range(0, 50);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_TRUE(recorder.seen.empty());
}

TEST_F(CoreSliderTest, DragNotifiesOnlyOnRelease) {
    manager.mouse_down(5, 10);
    manager.mouse_move(55, 10);
    EXPECT_EQ(slider->value(), 50);
    manager.mouse_move(85, 10);
    EXPECT_EQ(slider->value(), 80);
    EXPECT_TRUE(recorder.seen.empty());
    manager.mouse_up(85, 10);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"valuechanged=80"});
}

TEST_F(CoreSliderTest, DragBeyondTheEndsClamps) {
    slider->set_value(50);
    manager.mouse_down(55, 10);
    manager.mouse_move(400, 10);
    EXPECT_EQ(slider->value(), 100);
    manager.mouse_move(-50, 10);
    EXPECT_EQ(slider->value(), 0);
    manager.mouse_up(-50, 10);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"valuechanged=0"});
}

TEST_F(CoreSliderTest, ClickOnTrackMovesValue) {
    manager.mouse_down(35, 10);
    manager.mouse_up(35, 10);
    EXPECT_EQ(slider->value(), 30);
    EXPECT_EQ(recorder.seen, std::vector<std::string>{"valuechanged=30"});
}

TEST_F(CoreSliderTest, ReleaseWithoutChangeSendsNothing) {
    slider->set_value(20);
    manager.mouse_down(25, 10);
    manager.mouse_up(25, 10);
    EXPECT_EQ(slider->value(), 20);
    EXPECT_TRUE(recorder.seen.empty());
}

TEST_F(CoreSliderTest, StepSnapsDraggedValue) {
    slider->set_attribute("step", "10");
    manager.mouse_down(48, 10);  // 43 rounds to 40
    EXPECT_EQ(slider->value(), 40);
    manager.mouse_move(52, 10);  // 47 rounds to 50
    EXPECT_EQ(slider->value(), 50);
    manager.mouse_up(52, 10);
}

TEST_F(CoreSliderTest, ThumbFollowsValue) {
    slider->set_value(0);
    EXPECT_EQ(slider->thumb_rect(), (Rect{0, 0, 10, 20}));
    slider->set_value(100);
    EXPECT_EQ(slider->thumb_rect(), (Rect{100, 0, 110, 20}));
}

TEST_F(CoreSliderTest, VerticalGrowsUpwards) {
    slider->set_attribute("hor", "false");
    slider->set_attribute("thumbsize", "20,10");
    slider->set_fixed_height(110);
    manager.update_layout();
    EXPECT_EQ(slider->value_at(Point{10, 105}), 0);
    EXPECT_EQ(slider->value_at(Point{10, 5}), 100);
    EXPECT_EQ(slider->value_at(Point{10, 55}), 50);
    slider->set_value(100);
    EXPECT_EQ(slider->thumb_rect().top, 0);
}

TEST_F(CoreSliderTest, DisabledIgnoresPointer) {
    slider->set_enabled(false);
    manager.mouse_down(55, 10);
    manager.mouse_up(55, 10);
    EXPECT_EQ(slider->value(), 0);
    EXPECT_TRUE(recorder.seen.empty());
}

TEST(CoreSliderBuild, FromXml) {
    CDialogBuilder builder;
    auto control =
        builder.create(R"(<Slider name="laser" min="0" max="80" value="95" step="2" hor="false" )"
                       R"(thumbsize="8,12" forecolor="#FF00FF00" thumbimage="t.png" step2="x"/>)");
    auto* slider = dynamic_cast<CSliderUI*>(control.get());
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->name(), "laser");
    EXPECT_EQ(slider->max_value(), 80);
    EXPECT_EQ(slider->value(), 80);
    EXPECT_EQ(slider->step(), 2);
    EXPECT_FALSE(slider->horizontal());
    EXPECT_EQ(slider->thumb_size(), (Size{8, 12}));
    EXPECT_FALSE(slider->set_attribute("max", "eighty"));
    EXPECT_EQ(slider->max_value(), 80);
}

TEST(CoreSliderPaint, FilledPartUsesForeColor) {
    CPaintManagerUI manager;
    auto owned = std::make_unique<CSliderUI>();
    CSliderUI* slider = owned.get();
    slider->set_attribute("thumbsize", "10,20");
    slider->set_attribute("forecolor", "#FF00FF00");
    slider->set_value(50);
    manager.set_root(std::move(owned));
    manager.set_client_size({110, 20});
    Canvas canvas(110, 20);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(10, 10), Color::from_argb(0xFF00FF00));
    EXPECT_EQ(canvas.pixel(90, 10), Color{});
}

}  // namespace
}  // namespace talvoro::ui
