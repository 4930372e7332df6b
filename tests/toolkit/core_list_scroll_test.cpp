#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/label.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/paint_manager.h"
#include "core/vertical_layout.h"
#include "core/window.h"
#include "render/canvas.h"

// A list much taller than its area: 40 rows of 20 pixels in 200.
namespace talvoro::ui {
namespace {

constexpr Color kRowColor{255, 255, 0, 0};
constexpr Color kListColor{255, 0, 0, 255};
constexpr Color kBelowColor{255, 0, 255, 0};
constexpr Color kTrackColor = Color::from_argb(0xFF2A2A31);
constexpr Color kThumbColor = Color::from_argb(0xFFA3A3AD);
constexpr int kRows = 40;
constexpr int kRow = 20;
constexpr int kWidth = 240;
constexpr int kView = 200;

// Rows named "rowN", each covered by a red label; a green label "below" under the list.
std::unique_ptr<CVerticalLayoutUI> make_tree(CListUI*& list) {
    auto root = std::make_unique<CVerticalLayoutUI>();
    auto owned = std::make_unique<CListUI>();
    list = owned.get();
    list->set_name("list");
    list->set_fixed_height(kView);
    EXPECT_TRUE(list->set_attribute("bkcolor", "#FF0000FF"));
    for (int i = 0; i < kRows; ++i) {
        auto row = std::make_unique<CListContainerElementUI>();
        row->set_name("row" + std::to_string(i));
        row->set_fixed_height(kRow);
        auto label = std::make_unique<CLabelUI>();
        EXPECT_TRUE(label->set_attribute("bkcolor", "#FFFF0000"));
        row->add(std::move(label));
        list->add(std::move(row));
    }
    root->add(std::move(owned));
    auto below = std::make_unique<CLabelUI>();
    below->set_name("below");
    EXPECT_TRUE(below->set_attribute("bkcolor", "#FF00FF00"));
    root->add(std::move(below));
    return root;
}

class CoreListScroll : public ::testing::Test {
  protected:
    void SetUp() override {
        manager.set_root(make_tree(list));
        manager.set_client_size({kWidth, 300});
        manager.update_layout();
    }
    void click(int x, int y) {
        manager.mouse_down(x, y);
        manager.mouse_up(x, y);
    }
    // The row whose rectangle holds the point, by the rows' own positions.
    int row_at_point(int y) const {
        for (int i = 0; i < list->count(); ++i) {
            if (list->item_at(i)->pos().top <= y && y < list->item_at(i)->pos().bottom) {
                return i;
            }
        }
        return -1;
    }
    bool fully_visible(int index) const {
        const Rect& row = list->item_at(index)->pos();
        return row.top >= 0 && row.bottom <= kView;
    }

    CPaintManagerUI manager;
    CListUI* list = nullptr;
};

TEST_F(CoreListScroll, WheelScrollsByWholeRowsAndStopsAtBothEnds) {
    ASSERT_TRUE(list->scroll_bar_visible());
    EXPECT_EQ(list->scroll_range(), kRows * kRow - kView);
    EXPECT_TRUE(manager.mouse_wheel(50, 100, -1));
    EXPECT_EQ(list->scroll_pos(), CListUI::kWheelLines * kRow);
    EXPECT_EQ(list->item_at(CListUI::kWheelLines)->pos().top, 0);
    manager.mouse_wheel(50, 100, 5);
    EXPECT_EQ(list->scroll_pos(), 0);
    EXPECT_EQ(list->item_at(0)->pos().top, 0);
    manager.mouse_wheel(50, 100, -100);
    EXPECT_EQ(list->scroll_pos(), 600);
    EXPECT_EQ(list->item_at(kRows - 1)->pos().bottom, kView);
    manager.mouse_wheel(50, 100, -1);
    EXPECT_EQ(list->scroll_pos(), 600);
    // The wheel over the label below the list moves nothing.
    EXPECT_FALSE(manager.mouse_wheel(50, 250, 1));
    EXPECT_EQ(list->scroll_pos(), 600);
}

TEST_F(CoreListScroll, ListThatFitsLeavesTheWheelToItsParents) {
    while (list->count() > 5) {
        list->remove_at(list->count() - 1);
    }
    manager.update_layout();
    EXPECT_FALSE(list->scroll_bar_visible());
    EXPECT_FALSE(manager.mouse_wheel(50, 50, -1));
    EXPECT_EQ(list->scroll_pos(), 0);
}

TEST_F(CoreListScroll, SelectingARowFarDownScrollsItIntoView) {
    ASSERT_TRUE(list->select_item(35, false));
    manager.update_layout();
    EXPECT_TRUE(fully_visible(35));
    EXPECT_EQ(list->item_at(35)->pos().bottom, kView);
    // A visible row does not move the view; one above it comes in at the top.
    list->select_item(30, false);
    EXPECT_EQ(list->scroll_pos(), 36 * kRow - kView);
    list->select_item(2, false);
    manager.update_layout();
    EXPECT_EQ(list->item_at(2)->pos().top, 0);
}

TEST_F(CoreListScroll, InsertedAndSelectedRowIsShownBeforeAnyLayoutPass) {
    auto row = std::make_unique<CListContainerElementUI>();
    row->set_name("new");
    row->set_fixed_height(kRow);
    list->add_at(std::move(row), 38);
    // The page selects the row right after inserting it, before the next layout pass.
    list->select_item(38, false);
    manager.update_layout();
    EXPECT_EQ(list->item_at(38)->name(), "new");
    EXPECT_TRUE(fully_visible(38));
    EXPECT_EQ(list->scroll_pos(), 39 * kRow - kView);
}

TEST_F(CoreListScroll, SelectionMadeWhileBuildingIsShownOnceLaidOut) {
    CPaintManagerUI fresh;
    CListUI* built = nullptr;
    fresh.set_root(make_tree(built));
    built->select_item(30, false);
    fresh.set_client_size({kWidth, 300});
    fresh.update_layout();
    const Rect& row = built->item_at(30)->pos();
    EXPECT_GE(row.top, 0);
    EXPECT_LE(row.bottom, kView);
}

TEST_F(CoreListScroll, ClicksHitTheRowDrawnUnderThePointer) {
    manager.mouse_wheel(50, 100, -2);
    ASSERT_EQ(list->scroll_pos(), 2 * CListUI::kWheelLines * kRow);
    const int first = list->scroll_pos() / kRow;
    click(50, 5);
    EXPECT_EQ(list->get_cur_sel(), first);
    click(50, 195);
    EXPECT_EQ(list->get_cur_sel(), first + 9);
    EXPECT_EQ(row_at_point(195), first + 9);
    // Rows scrolled out below the list do not take clicks meant for what is there.
    click(50, 210);
    EXPECT_EQ(list->get_cur_sel(), first + 9);
}

TEST_F(CoreListScroll, PaintingClipsRowsToTheListAndDrawsTheBar) {
    manager.mouse_wheel(50, 100, -1);
    Canvas canvas(kWidth, 300);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(50, 0), kRowColor);
    EXPECT_EQ(canvas.pixel(50, kView - 1), kRowColor);
    // Rows 13 to 39 lie below the list; the label below shows instead.
    EXPECT_EQ(canvas.pixel(50, kView), kBelowColor);
    EXPECT_EQ(canvas.pixel(50, 290), kBelowColor);
    // The bar: thin, at the right, in the style's track and thumb colours.
    const Rect bar = list->scroll_bar_rect();
    EXPECT_EQ(bar, (Rect{kWidth - CListUI::kScrollBarWidth, 0, kWidth, kView}));
    EXPECT_LE(CListUI::kScrollBarWidth, 8);
    const Rect thumb = list->thumb_rect();
    EXPECT_EQ(thumb.height(), kView * kView / (kRows * kRow));
    EXPECT_EQ(canvas.pixel(kWidth - 2, thumb.top + 1), kThumbColor);
    EXPECT_EQ(canvas.pixel(kWidth - 2, kView - 2), kTrackColor);
    EXPECT_EQ(canvas.pixel(kWidth - CListUI::kScrollBarWidth - 1, kView - 2), kRowColor);
}

TEST_F(CoreListScroll, InsetBandsShowNoRowsAndTakeNoClicks) {
    ASSERT_TRUE(list->set_attribute("inset", "0,10,0,10"));
    manager.update_layout();
    manager.mouse_wheel(50, 100, -1);
    Canvas canvas(kWidth, 300);
    manager.paint(canvas);
    EXPECT_EQ(canvas.pixel(50, 5), kListColor);
    EXPECT_EQ(canvas.pixel(50, 195), kListColor);
    EXPECT_EQ(canvas.pixel(50, 15), kRowColor);
    click(50, 5);
    EXPECT_EQ(list->get_cur_sel(), -1);
    click(50, 15);
    EXPECT_EQ(list->get_cur_sel(), row_at_point(15));
}

// A headless window hands the wheel to the paint manager, which finds the list.
class ListWindow : public CWindowWnd {
  public:
    bool build() {
        if (!create(nullptr, "list", Size{kWidth, 300})) {
            return false;
        }
        manager().set_root(make_tree(list));
        return true;
    }
    CListUI* list = nullptr;
};

TEST(CoreListScrollWindow, WheelMessageReachesTheListUnderThePointer) {
    ListWindow window;
    ASSERT_TRUE(window.build());
    window.send_message(WindowMessage::kMouseWheel, make_wheel_param(-1),
                        make_point_param(100, 50));
    EXPECT_EQ(window.list->scroll_pos(), CListUI::kWheelLines * kRow);
    window.send_message(WindowMessage::kMouseWheel, make_wheel_param(-1),
                        make_point_param(100, 250));
    EXPECT_EQ(window.list->scroll_pos(), CListUI::kWheelLines * kRow);
    window.send_message(WindowMessage::kMouseWheel, make_wheel_param(1),
                        make_point_param(100, 150));
    EXPECT_EQ(window.list->scroll_pos(), 0);
    window.destroy();
}

}  // namespace
}  // namespace talvoro::ui
