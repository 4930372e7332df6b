// The support page: the versions of the program and of the mouse, and the four links opened
// at the language of the click, without the window waiting for the browser.
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "shell/language/language.h"
#include "shell_fixture.h"
#include "support/temp_folder.h"

namespace talvoro::test {
namespace {

class SupportPageTest : public ShellTest {
  protected:
    std::string text_of(const char* name) const {
        ui::CControlUI* found = control(name);
        return found != nullptr ? found->text() : std::string("<missing ") + name + ">";
    }
};

TEST_F(SupportPageTest, VersionLabelsShowTheProgramAndTheFirmwareOrOneWhenNoMouseAnswers) {
    start_mouse({"--firmware", "205"});
    open_window(/*watch_devices=*/true);
    EXPECT_EQ(text_of("apversionlabel"), "Current SoftWare Version : V1.40");
    EXPECT_EQ(text_of("fwversionlabel"), "Current FirmWare Version : V2.05 ");
    for (const char* name : {"apversionlabel", "fwversionlabel", "websitelinkbtn"}) {
        // As the page writes it, "#00FF4444" (the layout's own is "#FFFF4444").
        EXPECT_EQ(control(name)->text_color(), (ui::Color{0, 0xFF, 0x44, 0x44})) << name;
    }
    EXPECT_EQ(text_of("websitelinkbtn"), " {u} https://www.talvoro.example/en/ {/u} ");
    EXPECT_EQ(control("websitelinkbtn")->tooltip(), " https://www.talvoro.example/en/ ");
    EXPECT_EQ(text_of("socialnetworklinkbtn"),
              " {u} https://social.talvoro.example/talvoro.gaming {/u} ");
    EXPECT_EQ(control("socialnetworklinkbtn")->tooltip(),
              " https://social.talvoro.example/talvoro.gaming ");

    // Another mouse with a two-digit major version, read when it arrives.
    mice_.back()->stop();
    ASSERT_TRUE(pump_until([&] { return window_->device_absent(); }));
    start_mouse({"--firmware", "1203"});
    ASSERT_TRUE(pump_until([&] { return !window_->device_absent() && popups().empty(); }));
    EXPECT_EQ(text_of("fwversionlabel"), "Current FirmWare Version : V12.03 ");

    // In German, prefixes and the home page follow the language.
    window_->change_language(3);
    EXPECT_EQ(text_of("apversionlabel"), "Aktuelle Software-Version : V1.40");
    EXPECT_EQ(text_of("fwversionlabel"), "Aktuelle Firmware-Version : V12.03 ");
    EXPECT_EQ(text_of("websitelinkbtn"), " {u} https://www.talvoro.example/de/ {/u} ");

    // Without a mouse the firmware reads as 1.00.
    mice_.back()->stop();
    ASSERT_TRUE(pump_until([&] { return window_->device_absent(); }));
    window_->page_refresh(window_->current_profile_slot());
    EXPECT_EQ(text_of("fwversionlabel"), "Aktuelle Firmware-Version : V1.00 ");
    EXPECT_TRUE(notices_.shown.empty());
}

TEST_F(SupportPageTest, LinksOpenTheAddressOfTheLanguageAtTheClickAndShowItWhenNothingOpens) {
    start_mouse();
    open_window();
    click("techsupportbtn");
    window_->change_language(3);
    const std::vector<std::pair<const char*, const char*>> german = {
        {"update_app_btn", "https://www.talvoro.example/en/support/software"},
        {"update_fw_btn", "https://www.talvoro.example/en/support/software"},
        {"link_website_btn", "https://www.talvoro.example/de/"},
        {"websitelinkbtn", "https://www.talvoro.example/de/"},
        {"socialnetworklinkbtn", "https://social.talvoro.example/talvoro.gaming"},
        {"link_socialnetwork_btn", "https://social.talvoro.example/talvoro.gaming"},
    };
    for (const auto& [name, address] : german) {
        launched_.clear();
        click(name);
        ASSERT_EQ(launched_.size(), 1u) << name;
        EXPECT_EQ(launched_[0], address) << name;
    }
    // The table is read at the click, not when the page was filled.
    window_->change_language(1);
    launched_.clear();
    click("update_app_btn");
    click("link_socialnetwork_btn");
    EXPECT_EQ(launched_,
              (std::vector<std::string>{"https://www.talvoro.example/zh-tw/support/software",
                                        "https://social.talvoro.example/talvoro.gaming.tw"}));
    EXPECT_TRUE(notices_.shown.empty());

    // Nothing could be started: the address is shown so it can be copied.
    launch_started_ = false;
    click("link_website_btn");
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, "https://www.talvoro.example/zh-tw/");
    EXPECT_EQ(notices_.shown[0].caption, "Notice by App");
}

}  // namespace
}  // namespace talvoro::test
