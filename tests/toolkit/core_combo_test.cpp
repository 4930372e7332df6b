#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/button.h"
#include "core/combo.h"
#include "core/container.h"
#include "core/dialog_builder.h"
#include "core/paint_manager.h"

namespace talvoro::ui {
namespace {

struct Seen {
    std::string type;
    CControlUI* sender;
    uintptr_t wparam;
    intptr_t lparam;
};

class Recorder : public INotifyUI {
  public:
    void notify(TNotifyUI& msg) override {
        seen.push_back(Seen{msg.type, msg.sender, msg.wparam, msg.lparam});
    }
    int count(std::string_view type) const {
        int n = 0;
        for (const Seen& s : seen) {
            n += s.type == type ? 1 : 0;
        }
        return n;
    }
    std::vector<Seen> seen;
};

constexpr const char* kLayout = R"(<Window size="400,300">
  <Container>
    <Button name="under" float="true" pos="10,40,110,60"/>
    <Combo name="lang" float="true" pos="10,10,110,30" itemfont="2" dropboxsize="0,600"
           itemhottextcolor="#FFFF3C3C" itemhotbkcolor="#FF101010"
           itemselectedbkcolor="#FF3C3C3C" textpadding="4,0,4,0">
      <ListLabelElement text=" English "/>
      <ListLabelElement text=" Deutsch "/>
    </Combo>
  </Container>
</Window>)";

class CoreComboTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CDialogBuilder builder;
        manager.set_root(builder.create(kLayout, nullptr, &manager));
        manager.set_client_size({400, 300});
        manager.add_notifier(&recorder);
        combo = dynamic_cast<CComboUI*>(manager.find_control("lang"));
        ASSERT_NE(combo, nullptr);
        combo->add_item(" 简体中文 ");
        manager.update_layout();
    }
    void click(int x, int y) {
        manager.mouse_down(x, y);
        manager.mouse_up(x, y);
    }
    CListLabelElementUI* item(int index) {
        return dynamic_cast<CListLabelElementUI*>(combo->item_at(index));
    }
    // The middle of item `index` in the drop-down below the combo (rows of 22 pixels).
    Point item_point(int index) { return Point{50, 30 + index * 22 + 11}; }

    CPaintManagerUI manager;
    Recorder recorder;
    CComboUI* combo = nullptr;
};

TEST_F(CoreComboTest, ItemsFromTheLayoutAndFromCodeShareTheItemLook) {
    ASSERT_EQ(combo->count(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(item(i), nullptr);
    }
    EXPECT_EQ(item(1)->text(), " Deutsch ");
    EXPECT_EQ(combo->drop_box_size(), (Size{0, 600}));
    EXPECT_EQ(combo->current_index(), -1);
    EXPECT_FALSE(combo->set_attribute("dropboxsize", "12"));
    EXPECT_FALSE(combo->set_attribute("itemhottextcolor", "red"));
    EXPECT_EQ(combo->drop_box_size(), (Size{0, 600}));
}

TEST_F(CoreComboTest, PressOpensTheDropDownBelowTheCombo) {
    manager.mouse_down(50, 20);
    ASSERT_TRUE(combo->is_open());
    ASSERT_EQ(manager.overlay_count(), 1u);
    // Width 0 takes the combo's width; the height stops at the three items.
    EXPECT_EQ(manager.overlay(0)->pos(), (Rect{10, 30, 110, 96}));
    EXPECT_EQ(item(2)->pos(), (Rect{10, 74, 110, 96}));
    manager.mouse_up(50, 20);
    EXPECT_TRUE(combo->is_open());
    // The list covers the button below the combo.
    EXPECT_EQ(manager.find_control_at(Point{50, 50}), item(0));
}

TEST_F(CoreComboTest, HoveredItemIsHotAndOnlyOne) {
    click(50, 20);
    Point p = item_point(1);
    manager.mouse_move(p.x, p.y);
    EXPECT_TRUE(item(1)->hot());
    EXPECT_EQ(manager.hover(), item(1));
    p = item_point(2);
    manager.mouse_move(p.x, p.y);
    EXPECT_FALSE(item(1)->hot());
    EXPECT_TRUE(item(2)->hot());
}

TEST_F(CoreComboTest, ClickingAnItemSelectsItClosesAndNotifiesOnce) {
    click(50, 20);
    Point p = item_point(2);
    click(p.x, p.y);
    EXPECT_FALSE(combo->is_open());
    EXPECT_EQ(manager.overlay_count(), 0u);
    ASSERT_EQ(recorder.count("itemselect"), 1);
    const Seen& seen = recorder.seen.back();
    EXPECT_EQ(seen.sender, combo);
    EXPECT_EQ(seen.wparam, 2u);
    EXPECT_EQ(seen.lparam, -1);
    EXPECT_EQ(combo->current_index(), 2);
    EXPECT_EQ(combo->text(), " 简体中文 ");
    EXPECT_TRUE(item(2)->selected());
    // The same item again changes nothing and tells nobody.
    click(50, 20);
    click(p.x, p.y);
    EXPECT_EQ(recorder.count("itemselect"), 1);
    // Another item reports the previous index too.
    click(50, 20);
    p = item_point(0);
    click(p.x, p.y);
    ASSERT_EQ(recorder.count("itemselect"), 2);
    EXPECT_EQ(recorder.seen.back().wparam, 0u);
    EXPECT_EQ(recorder.seen.back().lparam, 2);
    EXPECT_FALSE(item(2)->selected());
}

TEST_F(CoreComboTest, SelectingInCodeWithoutNotification) {
    EXPECT_TRUE(combo->select_item(1, false));
    EXPECT_EQ(combo->current_index(), 1);
    EXPECT_EQ(combo->text(), " Deutsch ");
    EXPECT_EQ(recorder.count("itemselect"), 0);
    EXPECT_FALSE(combo->select_item(3));
    EXPECT_FALSE(combo->select_item(-2));
    EXPECT_EQ(combo->current_index(), 1);
    EXPECT_TRUE(combo->select_item(0));
    EXPECT_EQ(recorder.count("itemselect"), 1);
    EXPECT_TRUE(combo->select_item(-1, false));
    EXPECT_EQ(combo->text(), "");
}

TEST_F(CoreComboTest, PressOutsideClosesWithoutSelectingOrClicking) {
    click(50, 20);
    ASSERT_TRUE(combo->is_open());
    click(300, 200);
    EXPECT_FALSE(combo->is_open());
    EXPECT_EQ(manager.overlay_count(), 0u);
    EXPECT_EQ(combo->current_index(), -1);
    EXPECT_TRUE(recorder.seen.empty());
    // A press on the combo itself while open closes it too.
    click(50, 20);
    click(50, 20);
    EXPECT_FALSE(combo->is_open());
    // The button hidden by the list was not clicked through it; shown again, it works.
    click(50, 20);
    click(300, 200);
    click(50, 50);
    EXPECT_EQ(recorder.count("click"), 1);
    EXPECT_EQ(recorder.count("itemselect"), 0);
}

TEST_F(CoreComboTest, EscapeClosesAndRemovingTheComboClosesItsList) {
    click(50, 20);
    manager.key_down(kKeyEscape);
    EXPECT_FALSE(combo->is_open());
    click(50, 20);
    ASSERT_EQ(manager.overlay_count(), 1u);
    auto* root = dynamic_cast<CContainerUI*>(manager.root());
    ASSERT_TRUE(root->remove(combo));
    EXPECT_EQ(manager.overlay_count(), 0u);
    click(50, 50);
    EXPECT_EQ(recorder.count("click"), 1);
}

TEST_F(CoreComboTest, DropDownOpensAboveWhenNoRoomBelowAndStaysInTheWindow) {
    combo->set_attribute("pos", "330,270,390,290");
    combo->set_attribute("dropboxsize", "100,40");
    manager.update_layout();
    ASSERT_TRUE(combo->open());
    // 100 wide would leave the window on the right; 40 high does not fit below.
    EXPECT_EQ(combo->drop_rect(), (Rect{300, 230, 400, 270}));
    EXPECT_EQ(manager.overlay(0)->pos(), (Rect{300, 230, 400, 270}));
    // The third item lies beyond the 40 pixels and cannot be hit.
    EXPECT_EQ(manager.find_control_at(Point{350, 268}), item(1));
    combo->close();
    EXPECT_EQ(manager.overlay_count(), 0u);
    combo->remove_all();
    EXPECT_FALSE(combo->open());
}

TEST_F(CoreComboTest, DropDownPaintsHotAndSelectedItemBackgrounds) {
    Canvas canvas(400, 300);
    combo->select_item(2, false);
    click(50, 20);
    Point p = item_point(0);
    manager.mouse_move(p.x, p.y);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(11, 31), (Color{255, 0x10, 0x10, 0x10}));  // hot
    EXPECT_EQ(canvas.pixel(11, 53), (Color{255, 255, 255, 255}));     // plain, drop background
    EXPECT_EQ(canvas.pixel(11, 75), (Color{255, 0x3C, 0x3C, 0x3C}));  // selected
    manager.key_down(kKeyEscape);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(11, 75), (Color{}));  // the empty window shows again
}

}  // namespace
}  // namespace talvoro::ui
