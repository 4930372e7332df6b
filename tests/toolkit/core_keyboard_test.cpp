#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/combo.h"
#include "core/dialog_builder.h"
#include "core/key_codes.h"
#include "core/list.h"
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
    void SetUp() override { build(kLayout); }
    void build(const char* layout) {
        CDialogBuilder builder;
        manager.set_root(builder.create(layout, nullptr, &manager));
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

TEST_F(CoreKeyboardTest, EnterAndSpacePressButtonsAndOptionsAltDownOnlyMenuButtons) {
    auto* first = find<CButtonUI>("first");
    manager.set_focus(first);
    manager.key_down(kKeyReturn);
    manager.key_down(kKeySpace);
    manager.key_down(kKeyDown, KeyModifiers{.alt = true});
    EXPECT_EQ(notes.seen, (std::vector<std::string>{"click:first", "click:first"}));
    first->set_opens_menu(true);
    manager.key_down(kKeyDown);
    manager.key_down(kKeyDown, KeyModifiers{.alt = true});
    EXPECT_EQ(notes.seen.size(), 3u) << "Alt+Down, not Down, opens a button's menu";
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
    manager.key_down(kKeyDown, KeyModifiers{.alt = true});
    EXPECT_TRUE(combo->is_open());
    EXPECT_EQ(combo->current_index(), 1) << "Alt+Down only opens";
    manager.key_down(kKeyUp, KeyModifiers{.alt = true});
    EXPECT_FALSE(combo->is_open());
}

// An option group (one member disabled, one outside the group) and a list of three rows.
constexpr const char* kGroupsAndLists = R"(<Window size="300,300">
  <VerticalLayout>
    <HorizontalLayout height="30">
      <Option name="a" group="g" selected="true"/>
      <Option name="b" group="g" enabled="false"/>
      <Option name="c" group="g"/>
      <Option name="alone"/>
      <Option name="d" group="g"/>
    </HorizontalLayout>
    <List name="rows" height="90">
      <ListContainerElement name="r0" height="30"><Label name="l0" text="0"/></ListContainerElement>
      <ListContainerElement name="r1" height="30"><Label name="l1" text="1"/></ListContainerElement>
      <ListContainerElement name="r2" height="30"><Label name="l2" text="2"/></ListContainerElement>
    </List>
  </VerticalLayout>
</Window>)";

class CoreKeyboardGroupTest : public CoreKeyboardTest {
  protected:
    void SetUp() override { build(kGroupsAndLists); }
};

// The arrows walk the group's options a key can reach, round the ends, focusing and choosing
// each as a click would; the option outside the group is never one of them.
TEST_F(CoreKeyboardGroupTest, ArrowsMoveWithinAnOptionGroup) {
    manager.set_focus(manager.find_control("a"));
    const struct {
        int key;
        const char* lands;
    } steps[] = {{kKeyRight, "c"}, {kKeyDown, "d"}, {kKeyRight, "a"},
                 {kKeyLeft, "d"},  {kKeyUp, "c"},   {kKeyLeft, "a"}};
    for (const auto& step : steps) {
        notes.seen.clear();
        manager.key_down(step.key);
        EXPECT_EQ(focused(), step.lands) << "key " << step.key;
        EXPECT_TRUE(find<COptionUI>(step.lands)->is_selected()) << step.lands;
        EXPECT_EQ(notes.seen,
                  (std::vector<std::string>{std::string("click:") + step.lands,
                                            std::string("selectchanged:") + step.lands}));
    }
    EXPECT_FALSE(find<COptionUI>("c")->is_selected());
    manager.set_focus(manager.find_control("alone"));
    manager.key_down(kKeyRight);
    EXPECT_EQ(focused(), "alone");
}

// Up/Down/Home/End select rows; other keys are the list owner's, as "keydown" from the list;
// a click on a row's label focuses the list, so its keys work after a click too.
TEST_F(CoreKeyboardGroupTest, ListKeysSelectRowsAndHandTheRestToTheOwner) {
    auto* list = find<CListUI>("rows");
    const Rect label = manager.find_control("l1")->pos();
    manager.mouse_down(label.left + 2, label.top + 2);
    manager.mouse_up(label.left + 2, label.top + 2);
    ASSERT_EQ(focused(), "rows");
    ASSERT_EQ(list->get_cur_sel(), 1);
    const struct {
        int key;
        int selected;
    } steps[] = {{kKeyDown, 2}, {kKeyDown, 2}, {kKeyHome, 0}, {kKeyUp, 0}, {kKeyEnd, 2}};
    for (const auto& step : steps) {
        manager.key_down(step.key);
        EXPECT_EQ(list->get_cur_sel(), step.selected) << "key " << step.key;
    }
    notes.seen.clear();
    manager.key_down(kKeyDelete);
    manager.key_down(kKeyF2);
    EXPECT_EQ(notes.seen, (std::vector<std::string>{"keydown:rows", "keydown:rows"}));
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
