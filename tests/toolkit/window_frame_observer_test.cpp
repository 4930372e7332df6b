#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window_test_window.h"

namespace talvoro::ui::test {
namespace {

// A display that only notes what reached it, in the same log as the frame observer.
class LoggingBackend : public IWindowBackend {
  public:
    explicit LoggingBackend(std::vector<std::string>& log) : log_(log) {}
    bool create(const std::string&, const Rect&, const CWindowWnd*, bool) override { return true; }
    void destroy() override {}
    void show(bool) override {}
    void move(const Rect&) override {}
    void present(const Canvas&, const std::vector<Rect>&) override { log_.push_back("present"); }
    bool set_shape(const std::vector<Rect>&) override { return true; }
    Rect work_area() const override { return Rect{0, 0, 1920, 1080}; }
    void wake() override {}

  private:
    std::vector<std::string>& log_;
};

class FrameObserverTest : public ::testing::Test {
  protected:
    void SetUp() override {
        set_window_backend_factory(
            [this](CWindowWnd&) { return std::make_unique<LoggingBackend>(log_); });
        replaced_ = set_frame_observer([this](CWindowWnd&) { log_.push_back("frame"); });
    }
    void TearDown() override {
        set_frame_observer(std::move(replaced_));
        set_window_backend_factory(nullptr);
    }

    std::vector<std::string> log_;
    FrameObserver replaced_;
};

// The observer hears of a frame once the display has it, and of nothing else.
TEST_F(FrameObserverTest, ToldAfterTheFrameReachedTheDisplay) {
    using Log = std::vector<std::string>;
    using Step = std::function<void(RecordingWindow&)>;
    const Step paint = [](RecordingWindow& w) { w.paint_now(); };
    const Step widen_ok = [](RecordingWindow& w) {
        w.manager().find_control("ok")->set_fixed_width(40);
    };
    struct Case {
        const char* what;
        bool shown;
        Step change;
        Step act;
        Log expected;
    };
    const Case cases[] = {
        {"a layout pass and its frame", true, widen_ok, paint, Log{"present", "frame"}},
        {"a redraw without layout", true,
         [](RecordingWindow& w) { w.manager().find_control("title")->set_text("new"); }, paint,
         Log{"present", "frame"}},
        {"nothing to draw", true, [](RecordingWindow&) {}, paint, Log{}},
        {"a hidden window's frame", false, [](RecordingWindow&) {}, paint, Log{"frame"}},
        {"the caption hit test's layout pass", true,
         [&](RecordingWindow& w) {
             w.set_caption_band(Rect{0, 0, 0, 40});
             widen_ok(w);
         },
         [](RecordingWindow& w) {
             w.hit_test({100, 10});
         },
         Log{"frame"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingWindow window;
        ASSERT_TRUE(window.build());
        if (c.shown) {
            window.show();  // draws the first frame
        }
        c.change(window);
        log_.clear();
        c.act(window);
        EXPECT_EQ(log_, c.expected);
    }
}

}  // namespace
}  // namespace talvoro::ui::test
