// The Windows edition's window, talvoro_gui.exe, under Wine on a private X display, against the
// Windows virtual mouse, driven with xdotool at the places its UI dump gives, as the Linux window
// is: it appears with its shape, an option applied with its confirmation reaches the mouse byte
// for byte, a second start leaves one window, and the recorder takes keys typed into another
// program. Needs the Windows build: TALVORO_WINDOWS_BIN names its bin/ folder (scripts/test sets
// it after building build-windows/); without it the tests are skipped.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "applied_state.h"
#include "render/png_writer.h"
#include "store/key_table.h"
#include "store/profile_store.h"
#include "support/linux/desktop_driver.h"
#include "support/linux/screen_capture.h"
#include "support/linux/wine_session.h"
#include "support/linux/xvfb_display.h"
#include "support/picture_compare.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/ui_dump_reader.h"
#include "support/wait_for.h"

namespace talvoro::test {
namespace {

constexpr const char* kWindowTitle = "Morvane Talvoro Mouse Utility";

// One X display and one Wine prefix for every test: making a prefix takes seconds.
struct WineDesktop {
    TempFolder folder;
    // Room for the window at 200 %.
    XvfbDisplay xvfb{60000, "2400x1600x24"};
    std::unique_ptr<WineSession> wine;
    std::string boot_error;
};

WineDesktop* desktop = nullptr;

class WineWindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const char* bin = std::getenv("TALVORO_WINDOWS_BIN");
        if (bin == nullptr || *bin == '\0' || desktop != nullptr) {
            return;
        }
        desktop = new WineDesktop;
        if (desktop->xvfb.display().empty()) {
            desktop->boot_error = "Xvfb could not be started";
            return;
        }
        desktop->wine = std::make_unique<WineSession>(bin, desktop->xvfb.display(),
                                                      desktop->folder.path() + "/prefix");
        desktop->boot_error = desktop->wine->boot();
    }
    static void TearDownTestSuite() {
        delete desktop;
        desktop = nullptr;
    }

    void SetUp() override {
        if (desktop == nullptr) {
            GTEST_SKIP() << "TALVORO_WINDOWS_BIN names no Windows build";
        }
        ASSERT_EQ(desktop->boot_error, "");
        std::filesystem::create_directories(folder_.path() + "/hid");
    }
    void TearDown() override {
        for (const pid_t pid : programs_) {
            WineSession::kill(pid);
        }
    }

    WineSession& wine() { return *desktop->wine; }
    std::string in_windows(const std::string& name) const {
        return WineSession::windows_path(folder_.path() + "/" + name);
    }

    // The Windows virtual mouse in this test's folder, once both its interfaces are announced.
    void start_mouse() {
        mouse_ = WineSession::start(wine().command(
            "talvoro_virtual_mouse", {"--dir", in_windows("hid"), "--state", in_windows("state")}));
        programs_.push_back(mouse_);
        ASSERT_TRUE(wait_for([&] { return mouse_announced(); }, 30)) << "no virtual mouse";
    }
    bool mouse_announced() const {
        return std::filesystem::exists(folder_.file("hid/talvoro.if0.hid")) &&
               std::filesystem::exists(folder_.file("hid/talvoro.if1.hid"));
    }

    pid_t start_gui() {
        const ScopedEnv hid("TALVORO_HID_DIR", in_windows("hid"));
        const ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
        const ScopedEnv ui_dump("TALVORO_UI_DUMP", in_windows("ui.json"));
        const ScopedEnv data("TALVORO_DATA_DIR", in_windows("data"));
        const pid_t pid = WineSession::start(wine().command("talvoro_gui"));
        programs_.push_back(pid);
        return pid;
    }

    // Starts the window and waits for the start-up read of the mouse.
    void open_window() {
        ASSERT_NO_FATAL_FAILURE(start_mouse());
        ASSERT_GT(start_gui(), 0);
        ASSERT_TRUE(wait_for([&] { return dump_.shown("maincontrolbtn"); }, 60))
            << "no window (and no UI dump)";
        ASSERT_TRUE(wait_for(
            [&] {
                return dump_.selected("profile1option") && dump_.selected("ledlightonoffoption");
            },
            30))
            << "the start-up read did not end";
    }

    void click(const std::string& name) {
        const auto control = dump_.control(name);
        ASSERT_TRUE(control.has_value()) << name << " is not in the dump";
        ASSERT_EQ(driver().click_at(control->rect.center_x(), control->rect.center_y()), "");
    }

    DesktopDriver driver() const { return DesktopDriver(desktop->xvfb.display()); }

    // The visible windows whose name holds `name`.
    int windows_named(const std::string& name) const {
        setenv("DISPLAY", desktop->xvfb.display().c_str(), 1);
        const ProgramResult found =
            run_program("/usr/bin/xdotool", {"search", "--onlyvisible", "--name", name}, 10);
        int count = 0;
        for (char c : found.out) {
            count += c == '\n';
        }
        return count;
    }

    // Where the visible window named `name` is on the screen.
    std::optional<ui::Rect> window_area(const std::string& name) const {
        setenv("DISPLAY", desktop->xvfb.display().c_str(), 1);
        const ProgramResult found = run_program(
            "/usr/bin/xdotool",
            {"search", "--onlyvisible", "--name", name, "getwindowgeometry", "--shell"}, 10);
        const auto value = [&](const std::string& key) -> std::optional<int> {
            const size_t at = found.out.find("\n" + key + "=");
            if (at == std::string::npos) {
                return std::nullopt;
            }
            return std::atoi(found.out.c_str() + at + key.size() + 2);
        };
        const auto x = value("X"), y = value("Y"), width = value("WIDTH"), height = value("HEIGHT");
        if (!x || !y || !width || !height) {
            return std::nullopt;
        }
        return ui::Rect{*x, *y, *x + *width, *y + *height};
    }

    // Keeps what the screen shows of the window named `name` beside the build, for
    // docs/screenshots.
    void keep_picture_of(const std::string& name, const std::string& file) const {
        const std::optional<ui::Rect> area = window_area(name);
        ASSERT_TRUE(area.has_value()) << name;
        const std::optional<ui::Image> shot = capture_screen(desktop->xvfb.display(), *area);
        ASSERT_TRUE(shot.has_value()) << name;
        EXPECT_TRUE(ui::write_png(*shot, built_folder() + file));
    }

    // Sets the DPI Wine gives the programs started from now on, as its display settings do.
    void set_log_pixels(int dpi) const {
        for (const char* key : {"HKCU\\Control Panel\\Desktop", "HKCC\\Software\\Fonts"}) {
            std::vector<std::string> line = WineSession::system_command("reg");
            line.insert(line.end(), {"add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d",
                                     std::to_string(dpi), "/f"});
            ASSERT_EQ(WineSession::wait(WineSession::start(line), 30000), 0) << key;
        }
    }

    // Gives the visible window named `name` the keyboard.
    void focus(const std::string& name) const {
        ASSERT_EQ(
            driver().run({"search", "--onlyvisible", "--name", name, "windowfocus", "--sync"}), "");
    }

    TempFolder folder_;
    UiDumpReader dump_{folder_.path() + "/ui.json"};
    pid_t mouse_ = -1;
    std::vector<pid_t> programs_;
};

// What a person sees: the window looks as the Linux window's picture in docs/screenshots (the same
// skins, faces and layouts), shaped so that the screen shows through its cut corners; its picture
// is kept beside the build for docs/screenshots.
TEST_F(WineWindowTest, TheWindowAppearsShapedAndAnOptionAppliedReachesTheMouse) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    const auto root = dump_.control("main_root");
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->rect.right - root->rect.left, 1025);
    EXPECT_EQ(root->rect.bottom - root->rect.top, 701);
    // A frame to settle after the read's refresh.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const ui::Rect area{root->rect.left, root->rect.top, root->rect.right, root->rect.bottom};
    const std::optional<ui::Image> shot = capture_screen(desktop->xvfb.display(), area);
    ASSERT_TRUE(shot.has_value());
    EXPECT_TRUE(ui::write_png(*shot, built_folder() + "wine_main_control_en.png"));
    const auto screen = capture_screen(desktop->xvfb.display(), ui::Rect{0, 0, 1, 1});
    ASSERT_TRUE(screen.has_value());
    EXPECT_EQ(shot->pixel(0, 0), screen->pixel(0, 0)) << "the corner is cut away";
    const std::optional<ui::Image> reference =
        ui::read_png(TALVORO_SCREENSHOTS_DIR "/main_control_en.png");
    ASSERT_TRUE(reference.has_value());
    EXPECT_LT(differing_share(*shot, *reference), 0.002);

    // A performance option, then Apply and its confirmation.
    const std::vector<uint8_t> before = file_bytes(folder_.file("state"));
    click("performancebtn");
    ASSERT_TRUE(wait_for([&] { return dump_.shown("performance_root"); }, 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    keep_picture_of(kWindowTitle, "wine_performance_en.png");
    click("usb_rate_500_option");
    ASSERT_TRUE(wait_for([&] { return dump_.selected("usb_rate_500_option"); }, 10));
    if (!dump_.selected("kprofile1_inuse_option")) {
        click("kprofile1_inuse_option");
    }
    click("kprofileokbtn");
    ASSERT_TRUE(wait_for([&] { return dump_.shown("popup_message_ok_btn"); }, 10))
        << "no confirmation";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    keep_picture_of(kWindowTitle, "wine_confirm_apply_en.png");
    click("popup_message_ok_btn");
    const std::unique_ptr<ProfileStore> store = wait_for_all_profiles(folder_.path() + "/data", 60);
    ASSERT_TRUE(store) << "the apply did not end";
    EXPECT_EQ(+store->profiles[0].report_rate_hz, 500);
    const std::vector<uint8_t> state = file_bytes(folder_.file("state"));
    ASSERT_EQ(state.size(), before.size());
    EXPECT_EQ(slots_unlike_store(*store, state), "");
    EXPECT_FALSE(std::equal(state.begin(), state.begin() + 2048, before.begin()))
        << "profile 1 changed on the mouse";
    EXPECT_EQ(state.at(kStateCurrentSlot), 0);
}

TEST_F(WineWindowTest, ASecondStartLeavesOneWindow) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    ASSERT_TRUE(wait_for([&] { return windows_named(kWindowTitle) == 1; }, 10));
    const pid_t second = start_gui();
    EXPECT_EQ(WineSession::wait(second, 30000), 0) << "the second start did not end quietly";
    EXPECT_EQ(windows_named(kWindowTitle), 1);
}

// The caption band drags the window, through the system's own move (SDL's hit test).
TEST_F(WineWindowTest, TheCaptionBandDragsTheWindow) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    const std::optional<ui::Rect> before = window_area(kWindowTitle);
    ASSERT_TRUE(before.has_value());
    const int x = before->left + 500;
    const int y = before->top + 20;
    ASSERT_EQ(driver().drag(x, y, 100, 60), "");
    std::optional<ui::Rect> after;
    EXPECT_TRUE(wait_for(
        [&] {
            after = window_area(kWindowTitle);
            return after && after->left == before->left + 100 && after->top == before->top + 60;
        },
        10))
        << "the window is at " << (after ? after->left : -1) << "," << (after ? after->top : -1)
        << ", was at " << before->left << "," << before->top;
}

// The device watch serves the window: the mouse leaving shows the not-detected popup, and its
// return closes it and reads the mouse again. Ctrl+C (Wine turns SIGINT into it) stops the
// virtual mouse as unplugging does: its interfaces go away.
TEST_F(WineWindowTest, TheMouseLeavingAndComingBackIsSeen) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    ASSERT_FALSE(dump_.shown("popup_message_ok_btn"));
    ASSERT_EQ(::kill(mouse_, SIGINT), 0);
    EXPECT_EQ(WineSession::wait(mouse_, 20000), 0) << "the mouse did not stop";
    ASSERT_FALSE(mouse_announced());
    ASSERT_TRUE(wait_for([&] { return dump_.shown("popup_message_ok_btn"); }, 20))
        << "no popup for the missing mouse";

    ASSERT_NO_FATAL_FAILURE(start_mouse());
    EXPECT_TRUE(wait_for([&] { return !dump_.shown("popup_message_ok_btn"); }, 30))
        << "the popup stayed after the mouse came back";
    EXPECT_TRUE(wait_for([&] { return dump_.selected("profile1option"); }, 30));
}

// Load asks through the system's open dialog and refuses a file that is no profile with the
// system's message box; both close from the keyboard and the window goes on.
TEST_F(WineWindowTest, LoadUsesTheSystemsOpenDialogAndMessageBox) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    const std::string button_1 = dump_.text("button_1_btn");
    ASSERT_FALSE(button_1.empty());
    std::ofstream(folder_.file("foreign.qxp"), std::ios::binary) << std::string(100, 'x');
    click("profileloadbtn");
    ASSERT_TRUE(wait_for([&] { return windows_named("Load profile") == 1; }, 30)) << "no dialog";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    keep_picture_of("Load profile", "wine_load_dialog_en.png");
    ASSERT_NO_FATAL_FAILURE(focus("Load profile"));
    ASSERT_EQ(driver().type(in_windows("foreign.qxp")), "");
    ASSERT_EQ(driver().keys({"Return"}), "");
    ASSERT_TRUE(wait_for([&] { return windows_named("Notice by App") == 1; }, 30)) << "no notice";
    keep_picture_of("Notice by App", "wine_notice_en.png");
    EXPECT_EQ(windows_named("Load profile"), 0);
    ASSERT_NO_FATAL_FAILURE(focus("Notice by App"));
    ASSERT_EQ(driver().keys({"Return"}), "");
    ASSERT_TRUE(wait_for([&] { return windows_named("Notice by App") == 0; }, 20));
    // The refused file changed nothing, and the window still answers.
    EXPECT_EQ(dump_.text("button_1_btn"), button_1);
    click("performancebtn");
    EXPECT_TRUE(wait_for([&] { return dump_.shown("performance_root"); }, 10));
}

// Save asks through the system's save dialog, which asks before replacing a file; agreeing writes
// the profile over it.
TEST_F(WineWindowTest, SavingOverAFileAsksFirstThenReplacesIt) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    const std::string saved = folder_.file("saved.qxp");
    std::ofstream(saved, std::ios::binary) << "an older file";
    click("profilesavebtn");
    ASSERT_TRUE(wait_for([&] { return windows_named("Save profile") == 1; }, 30)) << "no dialog";
    ASSERT_NO_FATAL_FAILURE(focus("Save profile"));
    // Over the suggested name.
    ASSERT_EQ(driver().keys({"ctrl+a"}), "");
    ASSERT_EQ(driver().type(in_windows("saved.qxp")), "");
    ASSERT_EQ(driver().keys({"Return"}), "");
    // The question is a second window of the dialog's title; Yes is its default button.
    ASSERT_TRUE(wait_for([&] { return windows_named("Save profile") == 2; }, 20))
        << "no question before replacing";
    EXPECT_EQ(file_bytes(saved).size(), std::string("an older file").size());
    ASSERT_EQ(driver().keys({"Return"}), "");
    EXPECT_TRUE(wait_for([&] { return file_bytes(saved).size() == sizeof(ProfileBlock); }, 20))
        << "the profile was not written over the file";
    EXPECT_TRUE(wait_for([&] { return windows_named("Save profile") == 0; }, 10));
}

// Windows gives the recorder the keyboard through raw input even while another program has the
// focus: keys typed into Notepad become the macro's steps.
TEST_F(WineWindowTest, TheRecorderTakesKeysTypedIntoAnotherProgram) {
    ASSERT_NO_FATAL_FAILURE(open_window());
    click("macromanagebtn");
    ASSERT_TRUE(wait_for([&] { return dump_.shown("macromanage_root"); }, 10));
    click("macro_new_btn");
    ASSERT_TRUE(wait_for([&] { return dump_.shown("macro_file_name_1"); }, 10)) << "no macro row";
    // The row is chosen beside its name, where the edit does not take the click.
    const auto name = dump_.control("macro_file_name_1");
    ASSERT_TRUE(name.has_value());
    ASSERT_EQ(driver().click_at(name->rect.right + 40, name->rect.center_y()), "");
    click("ignore_delay_option");
    ASSERT_TRUE(wait_for([&] { return dump_.selected("ignore_delay_option"); }, 10));
    click("macro_record_btn");

    const pid_t notepad = WineSession::start(WineSession::system_command("notepad"));
    programs_.push_back(notepad);
    ASSERT_TRUE(wait_for([&] { return windows_named("Notepad") == 1; }, 60)) << "no Notepad";
    ASSERT_EQ(
        driver().run({"search", "--onlyvisible", "--name", "Notepad", "windowfocus", "--sync"}),
        "");
    ASSERT_TRUE(wait_for(
        [&] {
            setenv("DISPLAY", desktop->xvfb.display().c_str(), 1);
            const ProgramResult focused =
                run_program("/usr/bin/xdotool", {"getwindowfocus", "getwindowname"}, 10);
            return focused.out.find("Notepad") != std::string::npos;
        },
        10))
        << "Notepad did not take the focus";
    ASSERT_EQ(driver().keys({"a", "b"}), "");
    // Notepad may lie over the stop button: it goes first. Stop is the window's own click, which
    // the recorder leaves out.
    WineSession::kill(notepad);
    ASSERT_TRUE(wait_for([&] { return windows_named("Notepad") == 0; }, 20));
    click("macro_record_stop_btn");

    auto macros = std::make_unique<MacroStore>();
    const std::string macro_file = folder_.path() + "/data/profile/Macros";
    ASSERT_TRUE(wait_for(
        [&] {
            const std::vector<uint8_t> bytes = file_bytes(macro_file);
            if (bytes.size() != sizeof(MacroStore)) {
                return false;
            }
            std::memcpy(macros.get(), bytes.data(), bytes.size());
            return macros->macros[0].step_count > 0;
        },
        20))
        << "nothing was recorded";
    struct Step {
        std::string kind, text, action;
        bool operator==(const Step&) const = default;
    };
    std::vector<Step> steps;
    for (int i = 0; i < macros->macros[0].step_count; ++i) {
        const MacroStep& step = macros->macros[0].steps[i];
        steps.push_back({step.kind, step.text, step.action});
    }
    const std::string a = key_by_virtual_key('A')->name;
    const std::string b = key_by_virtual_key('B')->name;
    const std::vector<Step> expected = {
        {"k", a, "down"}, {"k", a, "up"}, {"k", b, "down"}, {"k", b, "up"}};
    EXPECT_TRUE(steps == expected) << steps.size() << " steps, the first " << steps[0].text;
}

// At 192 DPI (Wine's display setting) the per-monitor-aware window is drawn at 200 %: twice its
// layouts' size, as the Linux window looks at that scale.
TEST_F(WineWindowTest, At192DpiTheWindowIsDrawnAtTwiceItsSize) {
    ASSERT_NO_FATAL_FAILURE(set_log_pixels(192));
    // The later tests' programs start at 96 DPI again.
    const std::shared_ptr<void> restore(nullptr, [this](void*) { set_log_pixels(96); });
    ASSERT_NO_FATAL_FAILURE(open_window());
    EXPECT_EQ(dump_.scale(), 200);
    const std::optional<ui::Rect> area = window_area(kWindowTitle);
    ASSERT_TRUE(area.has_value());
    EXPECT_EQ(area->width(), 2050);
    EXPECT_EQ(area->height(), 1402);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::optional<ui::Image> shot = capture_screen(desktop->xvfb.display(), *area);
    const std::optional<ui::Image> reference =
        ui::read_png(TALVORO_SCREENSHOTS_DIR "/scale-200/main_control_en.png");
    ASSERT_TRUE(shot.has_value());
    ASSERT_TRUE(reference.has_value());
    EXPECT_TRUE(ui::write_png(*shot, built_folder() + "wine_main_control_200.png"));
    EXPECT_LT(differing_share(*shot, *reference), 0.002);
}

}  // namespace
}  // namespace talvoro::test
