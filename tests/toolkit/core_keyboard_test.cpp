#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/combo.h"
#include "core/dialog_builder.h"
#include "core/key_codes.h"
#include "core/option.h"
#include "core/paint_manager.h"
#include "core/slider.h"

namespace talvoro::ui {
namespace {

// Every control a person uses, and some Tab must pass over: a label, a hidden and a disabled
// button, a read-only edit.
constexpr const char* kLayout = R"(<Window size="300,300">
  <VerticalLayout>
    <Button name="first" height="30" text="First"/>
    <Label name="caption" height="20" text="Caption"/>
    <Option name="choice" height="30" text="Choice"/>
    <Button name="hidden" height="30" visible="false"/>
    <Button name="disabled" height="30" enabled="false"/>
    <Slider name="level" height="20" min="0" max="100" value="50" step="5"/>
    <Combo name="pick" height="30">
      <ListLabelElement text="one" selected="true"/>
      <ListLabelElement text="two"/>
      <ListLabelElement text="three"/>
    </Combo>
    <Edit name="typed" height="30"/>
    <Edit name="shown" height="30" readonly="true"/>
  </VerticalLayout>
</Window>)";

class Notes : public INotifyUI {
  public:
    void notify(TNotifyUI& msg) override { seen.push_back(msg.type + ":" + msg.sender->name()); }
    std::vector<std::string> seen;
};

class CoreKeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CDialogBuilder builder;
        manager.set_root(builder.create(kLayout, nullptr, &manager));
        manager.set_client_size({300, 300});
        manager.add_notifier(&notes);
        manager.update_layout();
    }
    std::string focused() const {
        return manager.focus() != nullptr ? manager.focus()->name() : std::string();
    }
    template <typename T>
    T* find(const char* name) {
        return dynamic_cast<T*>(manager.find_control(name));
    }

    CPaintManagerUI manager;
    Notes notes;
};

TEST_F(CoreKeyboardTest, TabWalksTheControlsAPersonUsesInTheLayoutsOrderAndWraps) {
    std::vector<std::string> walked;
    for (int i = 0; i < 6; ++i) {
        manager.key_down(kKeyTab);
        walked.push_back(focused());
    }
    EXPECT_EQ(walked,
              (std::vector<std::string>{"first", "choice", "level", "pick", "typed", "first"}));
    manager.key_down(kKeyTab, KeyModifiers{.shift = true});
    EXPECT_EQ(focused(), "typed");
    // Ctrl+Tab is the window's (pages), not the focus's.
    manager.key_down(kKeyTab, KeyModifiers{.control = true});
    EXPECT_EQ(focused(), "typed");
}

TEST_F(CoreKeyboardTest, EnterAndSpacePressButtonsAndOptions) {
    manager.set_focus(manager.find_control("first"));
    manager.key_down(kKeyReturn);
    manager.key_down(kKeySpace);
    EXPECT_EQ(notes.seen, (std::vector<std::string>{"click:first", "click:first"}));
    manager.set_focus(manager.find_control("choice"));
    manager.key_down(kKeySpace);
    EXPECT_TRUE(find<COptionUI>("choice")->is_selected());
}

TEST_F(CoreKeyboardTest, SliderKeysMoveByAStepTenStepsOrToTheEnds) {
    auto* slider = find<CSliderUI>("level");
    manager.set_focus(slider);
    const struct {
        int key;
        int value;
    } steps[] = {{kKeyRight, 55},  {kKeyUp, 60},   {kKeyLeft, 55}, {kKeyDown, 50}, {kKeyPrior, 100},
                 {kKeyPrior, 100}, {kKeyNext, 50}, {kKeyHome, 0},  {kKeyLeft, 0},  {kKeyEnd, 100}};
    int changes = 0;
    int before = slider->value();
    for (const auto& step : steps) {
        manager.key_down(step.key);
        EXPECT_EQ(slider->value(), step.value) << "key " << step.key;
        changes += slider->value() != before;
        before = slider->value();
    }
    EXPECT_EQ(static_cast<int>(notes.seen.size()), changes)
        << "one notice a change, none at an end";
}

TEST_F(CoreKeyboardTest, ComboArrowsChooseAndEnterOpensAndCloses) {
    auto* combo = find<CComboUI>("pick");
    manager.set_focus(combo);
    manager.key_down(kKeyDown);
    manager.key_down(kKeyDown);
    manager.key_down(kKeyDown);
    EXPECT_EQ(combo->current_index(), 2) << "stops at the last";
    manager.key_down(kKeyUp);
    EXPECT_EQ(combo->current_index(), 1);
    manager.key_down(kKeyReturn);
    EXPECT_TRUE(combo->is_open());
    manager.key_down(kKeyReturn);
    EXPECT_FALSE(combo->is_open());
}

// The ring shows only once a key was used, in the accent colour inside the focused control,
// and a click puts it away again.
TEST_F(CoreKeyboardTest, TheFocusRingShowsAfterAKeyAndGoesWithAClick) {
    Canvas canvas(300, 300);
    const Rect first = manager.find_control("first")->pos();
    manager.mouse_down(first.left + 5, first.top + 5);
    manager.mouse_up(first.left + 5, first.top + 5);
    manager.paint(canvas);
    const Color ring{0xFF, 0xFF, 0x3C, 0x3C};
    EXPECT_NE(canvas.pixel(first.left + 1, first.top + 1), ring);
    manager.key_down(kKeyTab);
    manager.key_down(kKeyTab, KeyModifiers{.shift = true});
    ASSERT_EQ(focused(), "first");
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(first.left + 1, first.top + 1), ring);
    EXPECT_EQ(canvas.pixel(first.right - 1, first.bottom - 1), ring);
    manager.mouse_down(first.left + 5, first.top + 5);
    manager.paint(canvas);
    EXPECT_NE(canvas.pixel(first.left + 1, first.top + 1), ring);
}

}  // namespace
}  // namespace talvoro::ui
