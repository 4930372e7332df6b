#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/container.h"
#include "core/dialog_builder.h"
#include "core/horizontal_layout.h"
#include "core/label.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/paint_manager.h"
#include "core/tab_layout.h"
#include "core/vertical_layout.h"
#include "layout_test_support.h"
#include "render/canvas.h"

// Float children are placed from their parent's own rectangle; the inset keeps space free for
// the laid-out children only.
namespace talvoro::ui {
namespace {

constexpr Color kRed{255, 255, 0, 0};
constexpr Color kBlue{255, 0, 0, 255};
constexpr Color kBlack{255, 0, 0, 0};

// The root is a plain container at 0,0 (no inset) holding `Layout` at 10,20 of 200 x 60 with
// an inset of 5,7,9,11, so every rectangle below is easy to follow.
template <class Layout>
Layout* make_inset_box(CPaintManagerUI& manager) {
    auto root = std::make_unique<CContainerUI>();
    auto box = std::make_unique<Layout>();
    EXPECT_TRUE(box->set_attribute("float", "true"));
    EXPECT_TRUE(box->set_attribute("pos", "10,20,210,80"));
    EXPECT_TRUE(box->set_attribute("inset", "5,7,9,11"));
    Layout* raw = static_cast<Layout*>(root->add(std::move(box)));
    manager.set_root(std::move(root));
    manager.set_client_size({300, 200});
    return raw;
}

TEST(CoreFloatInset, ContainerPlacesFloatsFromItsOwnRectangle) {
    CPaintManagerUI manager;
    auto* box = make_inset_box<CContainerUI>(manager);
    CControlUI* flowing = add_label(*box, {});
    CControlUI* sized = add_label(*box, {{"float", "true"}, {"pos", "3,-2,0,0"}, {"width", "40"}});
    CControlUI* spanned = add_label(*box, {{"float", "true"}, {"pos", "1,2,21,12"}});
    manager.update_layout();
    EXPECT_EQ(box->pos(), (Rect{10, 20, 210, 80}));
    EXPECT_EQ(flowing->pos(), (Rect{15, 27, 201, 69}));
    // No height: down to the parent's own bottom, not to its inset.
    EXPECT_EQ(sized->pos(), (Rect{13, 18, 53, 80}));
    EXPECT_EQ(spanned->pos(), (Rect{11, 22, 31, 32}));
}

TEST(CoreFloatInset, ZeroRightAndBottomTakeTheSizeWhateverTheAttributeOrder) {
    CPaintManagerUI manager;
    auto* box = make_inset_box<CHorizontalLayoutUI>(manager);
    CControlUI* after = add_label(
        *box, {{"float", "true"}, {"pos", "3,-2,0,0"}, {"width", "120"}, {"height", "18"}});
    CControlUI* before = add_label(
        *box, {{"float", "true"}, {"width", "120"}, {"height", "18"}, {"pos", "3,-2,0,0"}});
    manager.update_layout();
    EXPECT_EQ(after->fixed_height(), 18);
    EXPECT_EQ(after->pos(), (Rect{13, 18, 133, 36}));
    EXPECT_EQ(before->pos(), (Rect{13, 18, 133, 36}));
}

TEST(CoreFloatInset, HorizontalLayoutFlowsInsideTheInsetAndFloatsIgnoreIt) {
    CPaintManagerUI manager;
    auto* box = make_inset_box<CHorizontalLayoutUI>(manager);
    CControlUI* first = add_label(*box, {{"width", "50"}});
    CControlUI* floating = add_label(
        *box, {{"float", "true"}, {"pos", "129,0,0,0"}, {"width", "60"}, {"height", "18"}});
    CControlUI* rest = add_label(*box, {});
    CControlUI* stretched = add_label(*box, {{"float", "true"}, {"pos", "0,0,0,0"}});
    manager.update_layout();
    EXPECT_EQ(first->pos(), (Rect{15, 27, 65, 69}));
    EXPECT_EQ(rest->pos(), (Rect{65, 27, 201, 69}));
    EXPECT_EQ(floating->pos(), (Rect{139, 20, 199, 38}));
    EXPECT_EQ(stretched->pos(), box->pos());
}

TEST(CoreFloatInset, VerticalAndTabLayoutsAgree) {
    CPaintManagerUI manager;
    auto* column = make_inset_box<CVerticalLayoutUI>(manager);
    CControlUI* top = add_label(*column, {{"height", "10"}});
    CControlUI* floating =
        add_label(*column, {{"float", "true"}, {"pos", "0,0,0,0"}, {"height", "5"}});
    manager.update_layout();
    EXPECT_EQ(top->pos(), (Rect{15, 27, 201, 37}));
    EXPECT_EQ(floating->pos(), (Rect{10, 20, 210, 25}));

    CPaintManagerUI tabs_manager;
    auto* tabs = make_inset_box<CTabLayoutUI>(tabs_manager);
    CControlUI* page = add_label(*tabs, {{"float", "true"}, {"pos", "2,3,0,0"}, {"width", "20"}});
    tabs_manager.update_layout();
    EXPECT_EQ(page->pos(), (Rect{12, 23, 32, 80}));
}

TEST(CoreFloatInset, FloatsFollowWhenTheParentMovesOrTheInsetChanges) {
    CPaintManagerUI manager;
    auto* box = make_inset_box<CHorizontalLayoutUI>(manager);
    CControlUI* flowing = add_label(*box, {});
    CControlUI* floating =
        add_label(*box, {{"float", "true"}, {"pos", "4,4,0,0"}, {"width", "8"}, {"height", "8"}});
    manager.update_layout();
    box->set_inset(Rect{20, 20, 20, 20});
    manager.update_layout();
    EXPECT_EQ(flowing->pos(), (Rect{30, 40, 190, 60}));
    EXPECT_EQ(floating->pos(), (Rect{14, 24, 22, 32}));
    ASSERT_TRUE(box->set_attribute("pos", "50,60,250,120"));
    manager.update_layout();
    EXPECT_EQ(floating->pos(), (Rect{54, 64, 62, 72}));
}

// The two kinds of macro row, built from markup as the macro page writes them.
const char* const kNameRow =
    "<Window><ListContainerElement height=\"18\"><HorizontalLayout width=\"318\" height=\"18\" "
    "inset=\"3,5,3,5\"><Edit name=\"name_edit\" float=\"true\" pos=\"3,-2,0,0\" width=\"120\" "
    "height=\"18\" readonly=\"true\" text=\"Macro 1\"/><Label name=\"name_label\" float=\"true\" "
    "pos=\"129,0,0,0\" width=\"190\" height=\"18\"/></HorizontalLayout></ListContainerElement>"
    "</Window>";
const char* const kStepRow =
    "<Window><ListContainerElement height=\"20\"><HorizontalLayout width=\"340\" height=\"17\" "
    "inset=\"3,5,3,5\"><Label name=\"step_icon\" float=\"true\" pos=\"12,4,26,18\"/><Label "
    "name=\"step_text\" float=\"true\" pos=\"76,4,0,0\" width=\"200\" height=\"14\" "
    "text=\"Key Down A\"/></HorizontalLayout></ListContainerElement></Window>";

class CoreFloatInsetRows : public ::testing::Test {
  protected:
    void SetUp() override {
        auto root = std::make_unique<CVerticalLayoutUI>();
        auto owned = std::make_unique<CListUI>();
        list = owned.get();
        root->add(std::move(owned));
        manager.set_root(std::move(root));
        manager.set_client_size({360, 100});
    }
    CControlUI* add_row(const char* markup) {
        CDialogBuilder builder;
        return list->add(builder.create(markup, nullptr, &manager));
    }

    CPaintManagerUI manager;
    CListUI* list = nullptr;
};

TEST_F(CoreFloatInsetRows, NameAndStepRowsHoldTheirTextsWhole) {
    ASSERT_NE(add_row(kNameRow), nullptr);
    ASSERT_NE(add_row(kStepRow), nullptr);
    manager.update_layout();
    // Name row 0-18, step row 18-38.
    EXPECT_EQ(manager.find_control("name_edit")->pos(), (Rect{3, -2, 123, 16}));
    EXPECT_EQ(manager.find_control("name_label")->pos(), (Rect{129, 0, 319, 18}));
    EXPECT_EQ(manager.find_control("step_icon")->pos(), (Rect{12, 22, 26, 36}));
    EXPECT_EQ(manager.find_control("step_text")->pos(), (Rect{76, 22, 276, 36}));
}

TEST_F(CoreFloatInsetRows, FloatBackgroundCoversTheRowNotJustItsInset) {
    CControlUI* row = add_row(kNameRow);
    ASSERT_NE(row, nullptr);
    CControlUI* label = manager.find_control("name_label");
    ASSERT_TRUE(label->set_attribute("bkcolor", "#FFFF0000"));
    ASSERT_TRUE(list->set_attribute("bkcolor", "#FF0000FF"));
    Canvas canvas(360, 100);
    canvas.fill_rect(Rect{0, 0, 360, 100}, kBlack);
    manager.paint(canvas);
    // The inset band (rows 0-4 and 13-17) shows the float too.
    EXPECT_EQ(canvas.pixel(130, 0), kRed);
    EXPECT_EQ(canvas.pixel(130, 2), kRed);
    EXPECT_EQ(canvas.pixel(317, 17), kRed);
    EXPECT_EQ(canvas.pixel(128, 9), kBlue);
    EXPECT_EQ(canvas.pixel(130, 18), kBlue);
}

TEST_F(CoreFloatInsetRows, StepTextIsDrawnInsideItsRowAtFullHeight) {
    ASSERT_NE(add_row(kStepRow), nullptr);
    CControlUI* text = manager.find_control("step_text");
    ASSERT_TRUE(text->set_attribute("textcolor", "#FFFFFFFF"));
    ASSERT_TRUE(text->set_attribute("font", "-1"));
    Canvas canvas(360, 100);
    canvas.fill_rect(Rect{0, 0, 360, 100}, kBlack);
    manager.paint(canvas);
    // Lit pixels of the text, by row: the glyphs reach above and below the old 7-pixel band
    // (rows 9-15) the inset used to leave them.
    int first = -1;
    int last = -1;
    for (int y = 0; y < 30; ++y) {
        for (int x = 76; x < 276; ++x) {
            if (canvas.pixel(x, y).r > 128) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    ASSERT_GE(first, 0) << "no text drawn";
    EXPECT_LT(first, 9);
    EXPECT_GT(last, 11);
    EXPECT_GE(first, 4);
    EXPECT_LT(last, 18);
}

}  // namespace
}  // namespace talvoro::ui
