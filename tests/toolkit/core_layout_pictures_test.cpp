#include "core/layout_pictures.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"

namespace talvoro::ui {
namespace {

TEST(LayoutPictures, ListsTheFirstLooksOnceAndLeavesTheOthers) {
    test::TempFolder folder;
    const std::string path = folder.file("page.xml");
    std::ofstream(path) << R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="100,100">
  <Container bkimage="Back.png">
    <Button normalimage="file='Buttons.png' source='0,0,10,10'" hotimage="Hot.png"
            pushedimage="Pushed.png" disabledimage="Disabled.png"/>
    <Option normalimage="file='Buttons.png' source='10,0,20,10'" selectedimage="Chosen.png"/>
    <Slider thumbimage="Thumb.png" thumbhotimage="ThumbHot.png" foreimage="Fill.png"/>
    <Label bkimage="file='' "/>
  </Container>
</Window>)";
    EXPECT_EQ(layout_picture_files(path),
              (std::vector<std::string>{"Back.png", "Buttons.png", "Chosen.png", "Thumb.png",
                                        "Fill.png"}));
    EXPECT_TRUE(layout_picture_files(folder.file("missing.xml")).empty());
    std::ofstream(folder.file("broken.xml")) << "<Window><Button normalimage=";
    EXPECT_TRUE(layout_picture_files(folder.file("broken.xml")).empty());
}

}  // namespace
}  // namespace talvoro::ui
