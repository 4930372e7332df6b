// The main control page around the mouse picture: the picture label shows exactly the part of
// the picture the mouse and its lines are drawn in, each line ends at its own button's function
// field, and the resolution levels keep clear of the picture.
#include <gtest/gtest.h>

#include <string>

#include "layout_building.h"
#include "mouse_picture.h"

namespace talvoro::layouts::test {
namespace {

using skins::kMouseCrop;
using skins::LeaderLine;
using ui::Rect;

class MousePage : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window_.ok());
        window_.show_page(0);
        const ui::CControlUI* page = window_.find("maincontrol_root");
        ASSERT_NE(page, nullptr);
        origin_ = {page->pos().left, page->pos().top};
    }

    // A control's rectangle in the page's (and the picture's) coordinates.
    Rect in_page(const char* name) {
        const ui::CControlUI* control = window_.find(name);
        EXPECT_NE(control, nullptr) << name;
        return control ? control->pos().offset(-origin_.x, -origin_.y) : Rect{};
    }

    BuiltMainWindow window_;
    ui::Point origin_;
};

TEST_F(MousePage, PictureLabelShowsThePartTheMouseIsDrawnIn) {
    EXPECT_EQ(in_page("mouse_picture_label"), kMouseCrop);
    const std::string source =
        std::to_string(kMouseCrop.left) + "," + std::to_string(kMouseCrop.top) + "," +
        std::to_string(kMouseCrop.right) + "," + std::to_string(kMouseCrop.bottom);
    EXPECT_EQ(window_.find("mouse_picture_label")->bk_image(),
              "file='MCBox.bmp' source='" + source + "' ");
}

TEST_F(MousePage, EachLineEndsBesideItsButtonsFunctionField) {
    for (const LeaderLine& line : skins::leader_lines()) {
        const std::string name = "button_" + std::to_string(line.button + 1) + "_btn";
        const Rect field = in_page(name.c_str());
        const ui::Point end = line.points.back();
        EXPECT_TRUE(end.x == field.right || end.x == field.left - 1)
            << name << " at " << field.left << ".." << field.right << ", line ends at " << end.x;
        // Into the field's middle row, so that it reads as pointing at the field.
        EXPECT_EQ(end.y, (field.top + field.bottom) / 2) << name;
    }
}

TEST_F(MousePage, PictureKeepsClearOfTheFieldsNamesAndResolutionLevels) {
    std::vector<std::string> others;
    for (int button = 1; button <= 11; ++button) {
        others.push_back("button_" + std::to_string(button) + "_btn");
        others.push_back("button" + std::to_string(button) + "_label");
    }
    for (int level = 1; level <= 4; ++level) {
        const std::string stem = "laser_level" + std::to_string(level);
        for (const char* part : {"_caption", "_x_slider", "_y_slider", "_x_label", "_y_label"}) {
            others.push_back(stem + part);
        }
    }
    others.push_back("profile_block_panel");
    for (const std::string& name : others) {
        EXPECT_TRUE(in_page(name.c_str()).intersect(kMouseCrop).empty())
            << name << " overlaps the mouse picture";
    }
}

}  // namespace
}  // namespace talvoro::layouts::test
