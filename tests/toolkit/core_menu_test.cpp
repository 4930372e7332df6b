#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/button.h"
#include "core/container.h"
#include "core/key_codes.h"
#include "core/menu.h"
#include "core/paint_manager.h"

namespace talvoro::ui {
namespace {

constexpr int kClose = 1999;

class CommandRecorder : public ICommandHandlerUI {
  public:
    void on_command(int id) override { commands.push_back(id); }
    std::vector<int> commands;
};

class ClickCounter : public INotifyUI {
  public:
    void notify(TNotifyUI& msg) override { clicks += msg.type == "click" ? 1 : 0; }
    int clicks = 0;
};

// Rows: 2 pixels of inset, then 24 per entry and 7 per separator.
int row_middle(int menu_top, int entries_before, int separators_before) {
    return menu_top + 2 + entries_before * 24 + separators_before * 7 + 12;
}

class CoreMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto root = std::make_unique<CContainerUI>();
        root->set_attribute("bkcolor", "#FF0000FF");
        auto button = std::make_unique<CButtonUI>();
        button->set_attribute("float", "true");
        button->set_attribute("pos", "300,200,380,240");
        under = root->add(std::move(button));
        manager.set_root(std::move(root));
        manager.set_client_size({400, 300});
        manager.add_command_handler(&commands);
        manager.add_notifier(&clicks);
    }
    void click(int x, int y) {
        manager.mouse_down(x, y);
        manager.mouse_up(x, y);
    }
    // Mouse function submenu (2010, 2011), a separator, Disable (2031).
    std::unique_ptr<CMenuUI> make_menu() {
        auto menu = std::make_unique<CMenuUI>();
        menu->set_attribute("width", "100");
        menu->set_attribute("bkcolor", "#FF202020");
        CMenuUI* sub = menu->add_submenu("Mouse Function >> ", 2000);
        sub->add_item("Left Click", 2010);
        sub->add_item("Right Click", 2011);
        menu->add_separator();
        menu->add_item("Disable", 2031);
        return menu;
    }
    CPaintManagerUI manager;
    CommandRecorder commands;
    ClickCounter clicks;
    CControlUI* under = nullptr;
};

TEST_F(CoreMenuTest, ChoosingAnEntrySendsClosingThenItsCommandAndClosesAll) {
    CMenuUI* menu = CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pos(), (Rect{10, 10, 110, 10 + 2 + 24 + 7 + 24 + 2}));
    EXPECT_EQ(CMenuUI::shown_menu(manager), menu);
    click(50, row_middle(10, 1, 1));
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose, 2031}));
    EXPECT_EQ(manager.overlay_count(), 0u);
    EXPECT_EQ(CMenuUI::shown_menu(manager), nullptr);
}

TEST_F(CoreMenuTest, SubmenuOpensOnHoverToTheRightAndItsEntriesWork) {
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    manager.mouse_move(50, row_middle(10, 0, 0));
    ASSERT_EQ(manager.overlay_count(), 2u);
    CControlUI* sub = manager.overlay(1);
    // Beside its menu, level with its entry, as wide as its menu since it sets no width.
    EXPECT_EQ(sub->pos(), (Rect{110, 10, 210, 10 + 2 + 24 + 24 + 2}));
    // Hovering another entry closes it, hovering the entry again opens it.
    manager.mouse_move(50, row_middle(10, 1, 1));
    EXPECT_EQ(manager.overlay_count(), 1u);
    manager.mouse_move(50, row_middle(10, 0, 0));
    ASSERT_EQ(manager.overlay_count(), 2u);
    EXPECT_TRUE(commands.commands.empty());
    // Through the submenu to its second entry.
    manager.mouse_move(150, row_middle(10, 0, 0));
    EXPECT_EQ(manager.overlay_count(), 2u);
    click(150, row_middle(10, 1, 0));
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose, 2011}));
    EXPECT_EQ(manager.overlay_count(), 0u);
}

TEST_F(CoreMenuTest, SubmenuFlipsLeftAtTheWindowEdge) {
    CMenuUI::show(manager, make_menu(), Point{250, 100}, kClose);
    manager.mouse_move(260, row_middle(100, 0, 0));
    ASSERT_EQ(manager.overlay_count(), 2u);
    EXPECT_EQ(manager.overlay(1)->pos(), (Rect{150, 100, 250, 152}));
}

TEST_F(CoreMenuTest, MenuMovesToStayInsideTheWindow) {
    CMenuUI* menu = CMenuUI::show(manager, make_menu(), Point{350, 280}, kClose);
    EXPECT_EQ(menu->pos(), (Rect{300, 241, 400, 300}));
}

TEST_F(CoreMenuTest, SeparatorIsNotClickable) {
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    click(50, 10 + 2 + 24 + 3);
    EXPECT_TRUE(commands.commands.empty());
    EXPECT_EQ(manager.overlay_count(), 1u);
}

TEST_F(CoreMenuTest, PressOutsideSendsTheClosingCommandOnceAndReachesNothing) {
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    manager.mouse_move(50, row_middle(10, 0, 0));
    ASSERT_EQ(manager.overlay_count(), 2u);
    click(320, 220);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose}));
    EXPECT_EQ(manager.overlay_count(), 0u);
    EXPECT_EQ(clicks.clicks, 0);
    manager.close_all_overlays();
    click(320, 220);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose}));
    EXPECT_EQ(clicks.clicks, 1);
}

TEST_F(CoreMenuTest, EscapeClosesTheSubmenuFirstThenTheMenu) {
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    manager.mouse_move(50, row_middle(10, 0, 0));
    ASSERT_EQ(manager.overlay_count(), 2u);
    manager.key_down(kKeyEscape);
    EXPECT_EQ(manager.overlay_count(), 1u);
    EXPECT_TRUE(commands.commands.empty());
    manager.key_down(kKeyEscape);
    EXPECT_EQ(manager.overlay_count(), 0u);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose}));
}

TEST_F(CoreMenuTest, SecondMenuReplacesTheFirst) {
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    manager.mouse_move(50, row_middle(10, 0, 0));
    CMenuUI* second = CMenuUI::show(manager, make_menu(), Point{200, 10}, 1998);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose}));
    ASSERT_EQ(manager.overlay_count(), 1u);
    EXPECT_EQ(manager.overlay(0), second);
    EXPECT_EQ(CMenuUI::shown_menu(manager), second);
    manager.key_down(kKeyEscape);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose, 1998}));
}

TEST_F(CoreMenuTest, LoadedFromMarkup) {
    auto menu = CMenuUI::load(R"(<Menu width="120" bkcolor="#FF202020">
        <MenuElement text="Game Function >> ">
          <MenuElement text="Profile Select" command="2020"/>
        </MenuElement>
        <MenuElement separator="true"/>
        <MenuElement text="Default" command="2032"/>
      </Menu>)");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->count(), 3);
    auto* first = dynamic_cast<CMenuElementUI*>(menu->item_at(0));
    auto* separator = dynamic_cast<CMenuElementUI*>(menu->item_at(1));
    auto* last = dynamic_cast<CMenuElementUI*>(menu->item_at(2));
    ASSERT_TRUE(first && separator && last);
    EXPECT_TRUE(first->has_submenu());
    EXPECT_EQ(first->submenu().count(), 1);
    EXPECT_TRUE(separator->is_separator());
    EXPECT_EQ(last->command(), 2032);
    EXPECT_EQ(menu->measure(), (Size{120, 2 + 24 + 7 + 24 + 2}));
    EXPECT_EQ(CMenuUI::load("<Window/>"), nullptr);
    EXPECT_EQ(CMenuUI::load("<Menu"), nullptr);
}

TEST_F(CoreMenuTest, OverlayIsPaintedAboveTheTreeAndItsAreaRepaintedAfterClosing) {
    Canvas canvas(400, 300);
    manager.paint(canvas);
    constexpr Color kTree{255, 0, 0, 255};
    constexpr Color kMenu{255, 0x20, 0x20, 0x20};
    ASSERT_EQ(canvas.pixel(11, 11), kTree);
    CMenuUI* menu = CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    EXPECT_EQ(manager.invalid_region(), (std::vector<Rect>{menu->pos()}));
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(10, 10), kMenu);
    EXPECT_EQ(canvas.pixel(109, 68), kMenu);
    EXPECT_EQ(canvas.pixel(110, 10), kTree);
    // A tree control drawn later in the same area stays under the menu.
    under->set_attribute("pos", "0,0,60,60");
    under->set_attribute("bkcolor", "#FF00FF00");
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(12, 40), kMenu);
    EXPECT_EQ(canvas.pixel(5, 5), (Color{255, 0, 255, 0}));
    manager.key_down(kKeyEscape);
    ASSERT_FALSE(manager.invalid_region().empty());
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(12, 40), (Color{255, 0, 255, 0}));
    EXPECT_EQ(canvas.pixel(100, 60), kTree);
}

// By keys alone: the arrows light entries (round the ends, over the separator), Right opens a
// submenu with its first entry lit, Left closes it, Enter chooses; the window under the menu
// gets none of the keys.
TEST_F(CoreMenuTest, KeysWalkTheMenuAndItsSubmenuAndChoose) {
    manager.set_focus(under);
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    manager.key_down(kKeyUp);  // round to the last entry
    manager.key_down(kKeyDown);
    manager.key_down(kKeyRight);
    ASSERT_EQ(manager.overlay_count(), 2u) << "the submenu";
    manager.key_down(kKeyLeft);
    EXPECT_EQ(manager.overlay_count(), 1u);
    manager.key_down(kKeyReturn);
    manager.key_down(kKeyDown);
    manager.key_down(kKeySpace);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose, 2011}));
    EXPECT_EQ(manager.overlay_count(), 0u);
    EXPECT_EQ(clicks.clicks, 0) << "the keys reached the button under the menu";

    // Alt+Up closes every level at once and chooses nothing.
    CMenuUI::show(manager, make_menu(), Point{10, 10}, kClose);
    manager.key_down(kKeyDown);
    manager.key_down(kKeyRight);
    ASSERT_EQ(manager.overlay_count(), 2u);
    manager.key_down(kKeyUp, KeyModifiers{.alt = true});
    EXPECT_EQ(manager.overlay_count(), 0u);
    EXPECT_EQ(commands.commands, (std::vector<int>{kClose, 2011, kClose}));
}

}  // namespace
}  // namespace talvoro::ui
