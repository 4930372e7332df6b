#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/button.h"
#include "core/horizontal_layout.h"
#include "core/option.h"
#include "core/paint_manager.h"
#include "notify_recorder.h"

namespace talvoro::ui {
namespace {

using Recorder = test::NotifyRecorder;

// A row of 50-pixel controls: button "ok", options "a" and "b" in group "g", option "solo"
// without a group, option "other" in group "g" of another window.
class CoreNotifyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto root = std::make_unique<CHorizontalLayoutUI>();
        row = root.get();
        manager.set_root(std::move(root));
        manager.set_client_size({250, 20});
        manager.add_notifier(&recorder);
        ok = add<CButtonUI>("ok");
        a = add<COptionUI>("a", "g");
        b = add<COptionUI>("b", "g");
        solo = add<COptionUI>("solo");
        auto other_root = std::make_unique<COptionUI>();
        other = other_root.get();
        other->set_name("other");
        other->set_group("g");
        other_manager.set_root(std::move(other_root));
        other->selected(true, false);
        manager.update_layout();
    }

    template <class T>
    T* add(const char* name, const char* group = "") {
        auto control = std::make_unique<T>();
        control->set_name(name);
        control->set_fixed_width(50);
        if constexpr (std::is_same_v<T, COptionUI>) {
            control->set_group(group);
        }
        return static_cast<T*>(row->add(std::move(control)));
    }

    void click(int x, int y) {
        manager.mouse_down(x, y);
        manager.mouse_up(x, y);
    }

    CPaintManagerUI manager;
    CPaintManagerUI other_manager;
    Recorder recorder;
    CHorizontalLayoutUI* row = nullptr;
    CButtonUI* ok = nullptr;
    COptionUI* a = nullptr;
    COptionUI* b = nullptr;
    COptionUI* solo = nullptr;
    COptionUI* other = nullptr;
};

TEST_F(CoreNotifyTest, FindControlByNameAndByPoint) {
    EXPECT_EQ(manager.find_control("ok"), ok);
    EXPECT_EQ(manager.find_control("solo"), solo);
    EXPECT_EQ(manager.find_control("missing"), nullptr);
    EXPECT_EQ(manager.find_control(""), nullptr);
    EXPECT_EQ(manager.find_control("other"), nullptr);
    EXPECT_EQ(manager.find_control_at({10, 10}), ok);
    EXPECT_EQ(manager.find_control_at({60, 10}), a);
    EXPECT_EQ(manager.find_control_at({240, 10}), row);
    EXPECT_EQ(manager.find_control_at({10, 30}), nullptr);
    ok->set_enabled(false);
    EXPECT_EQ(manager.find_control_at({10, 10}), row);
    ok->set_visible(false);
    manager.update_layout();
    EXPECT_EQ(manager.find_control_at({10, 10}), a);
    CPaintManagerUI empty;
    EXPECT_EQ(empty.find_control("ok"), nullptr);
    EXPECT_EQ(empty.find_control_at({0, 0}), nullptr);
}

TEST_F(CoreNotifyTest, ClickNeedsPressAndReleaseInside) {
    click(10, 10);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:ok"}));
    recorder.seen.clear();
    // Released outside, even over another control, after moving away with the capture.
    manager.mouse_down(10, 10);
    EXPECT_TRUE(ok->pushed());
    EXPECT_EQ(manager.capture(), ok);
    manager.mouse_move(120, 10);
    manager.mouse_up(120, 10);
    EXPECT_FALSE(ok->pushed());
    EXPECT_EQ(manager.capture(), nullptr);
    // Pressed elsewhere and released over the button.
    manager.mouse_down(240, 10);
    manager.mouse_up(10, 10);
    EXPECT_TRUE(recorder.seen.empty());
    ok->set_enabled(false);
    click(10, 10);
    EXPECT_TRUE(recorder.seen.empty());
}

TEST_F(CoreNotifyTest, HoverFollowsThePointerExceptUnderCapture) {
    manager.mouse_move(10, 10);
    EXPECT_EQ(manager.hover(), ok);
    EXPECT_TRUE(ok->hot());
    manager.mouse_move(60, 10);
    EXPECT_EQ(manager.hover(), a);
    EXPECT_FALSE(ok->hot());
    EXPECT_TRUE(a->hot());
    manager.mouse_down(60, 10);
    EXPECT_EQ(manager.focus(), a);
    manager.mouse_move(10, 10);
    EXPECT_EQ(manager.hover(), a);
    EXPECT_FALSE(ok->hot());
    manager.mouse_up(10, 10);
    EXPECT_EQ(manager.hover(), ok);
    EXPECT_TRUE(ok->hot());
}

TEST_F(CoreNotifyTest, OptionsOfAGroupAreExclusiveWithinTheirWindow) {
    click(60, 10);
    EXPECT_TRUE(a->is_selected());
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:a", "selectchanged:a"}));
    recorder.seen.clear();
    click(110, 10);
    EXPECT_TRUE(b->is_selected());
    EXPECT_FALSE(a->is_selected());
    EXPECT_TRUE(other->is_selected());
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:b", "selectchanged:b"}));
    recorder.seen.clear();
    // Clicking the selected option of a group leaves it selected and changes nothing.
    click(110, 10);
    EXPECT_TRUE(b->is_selected());
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:b"}));
    recorder.seen.clear();
    // An option without a group toggles.
    click(160, 10);
    click(160, 10);
    EXPECT_FALSE(solo->is_selected());
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:solo", "selectchanged:solo",
                                                       "click:solo", "selectchanged:solo"}));
}

TEST_F(CoreNotifyTest, SelectedWithAndWithoutNotification) {
    a->selected(true, false);
    EXPECT_TRUE(a->is_selected());
    EXPECT_TRUE(recorder.seen.empty());
    b->selected(true);
    EXPECT_FALSE(a->is_selected());
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"selectchanged:b"}));
    b->selected(true);
    EXPECT_EQ(recorder.seen.size(), 1u);
    b->selected(false);
    EXPECT_FALSE(b->is_selected());
    EXPECT_EQ(recorder.seen.size(), 2u);
}

// Posts an asynchronous "later" from inside the handling of each click and of each "later".
class Poster : public INotifyUI {
  public:
    explicit Poster(CPaintManagerUI& manager) : manager_(manager) {}
    void notify(TNotifyUI& msg) override {
        if (msg.type == "click" || msg.type == "later") {
            manager_.send_notify(msg.sender, "later", 7, -3, true);
        }
    }

  private:
    CPaintManagerUI& manager_;
};

TEST_F(CoreNotifyTest, AsyncNotificationsArriveOnlyAfterTheCallAndADrain) {
    Poster poster(manager);
    manager.add_notifier(&poster);
    int wakeups = 0;
    manager.set_async_wakeup([&] { ++wakeups; });
    click(10, 10);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:ok"}));
    EXPECT_TRUE(manager.has_pending_async());
    EXPECT_EQ(wakeups, 1);
    EXPECT_EQ(manager.drain_async(), 1u);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"click:ok", "later:ok"}));
    // The one posted while draining waits for the next drain.
    EXPECT_TRUE(manager.has_pending_async());
    manager.remove_notifier(&poster);
    EXPECT_EQ(manager.drain_async(), 1u);
    EXPECT_EQ(manager.drain_async(), 0u);
    EXPECT_EQ(recorder.seen.size(), 3u);
}

TEST_F(CoreNotifyTest, AsyncNotificationsCarryTheirValuesAndDieWithTheSender) {
    struct Values : INotifyUI {
        void notify(TNotifyUI& msg) override {
            wparam = msg.wparam;
            lparam = msg.lparam;
        }
        uintptr_t wparam = 0;
        intptr_t lparam = 0;
    } values;
    manager.add_notifier(&values);
    manager.send_notify(a, "apply_new_setting", 5, -9, true);
    manager.send_notify(ok, "gone", 1, 1, true);
    EXPECT_EQ(values.wparam, 0u);
    EXPECT_TRUE(row->remove(ok));
    EXPECT_EQ(manager.drain_async(), 1u);
    EXPECT_EQ(values.wparam, 5u);
    EXPECT_EQ(values.lparam, -9);
    EXPECT_EQ(recorder.seen, (std::vector<std::string>{"apply_new_setting:a"}));
}

TEST_F(CoreNotifyTest, KeysAndTextGoToTheFocusedControl) {
    struct Keys : CButtonUI {
        void do_event(ControlEvent& event) override {
            if (event.type == EventType::kKeyDown) {
                keys.push_back(event.key);
            } else if (event.type == EventType::kTextInput) {
                text += event.text;
            }
            CButtonUI::do_event(event);
        }
        std::vector<int> keys;
        std::string text;
    };
    auto* keys = static_cast<Keys*>(row->add(std::make_unique<Keys>()));
    keys->set_fixed_width(30);
    manager.key_down(13);
    manager.update_layout();
    click(210, 10);
    EXPECT_EQ(manager.focus(), keys);
    manager.key_down(13);
    manager.text_input("é");
    EXPECT_EQ(keys->keys, (std::vector<int>{13}));
    EXPECT_EQ(keys->text, "é");
    row->remove(keys);
    EXPECT_EQ(manager.focus(), nullptr);
    manager.key_down(13);
}

}  // namespace
}  // namespace talvoro::ui
