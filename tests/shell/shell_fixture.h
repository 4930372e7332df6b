// The real main window, built headless from the real layouts and skins in build/bin, talking
// through the library's own code to virtual mice over the real socket transport. The library's
// waits are replaced so the tests run at full speed (the mice answer at once); notices and file
// dialogs are answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/user_notices.h"
#include "shell/oskel_main_wnd.h"
#include "store/profile_files.h"
#include "support/fake_desktop.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {

// Every notice the program showed.
class RecordingNotices final : public UserNotices {
  public:
    void show_notice(const std::string& text, const std::string& caption) override {
        shown.push_back({text, caption});
    }
    struct Notice {
        std::string text;
        std::string caption;
    };
    std::vector<Notice> shown;
};

class ShellTest : public ::testing::Test {
  protected:
    ShellTest();
    ~ShellTest() override;

    VirtualMouseProcess& start_mouse(std::vector<std::string> args = {});
    // Creates the main window (headless) and runs its start-up read.
    shell::COskelMainWnd& open_window(bool watch_devices = false);
    // Runs the window's posted messages, notifications and timers until nothing is left.
    void pump();
    // Pumps until `done` or five seconds passed; false on time-out.
    bool pump_until(const std::function<bool()>& done);
    // The open popups of class "PopupWnd" (confirmations, message boxes).
    std::vector<ui::CWindowWnd*> popups() const;
    // Clicks a control of the main window, then pumps.
    void click(const char* name);
    // Clicks a control of the only popup open, then pumps.
    void click_in_popup(const char* name);
    // Moves the pointer over the window at a point.
    void move_pointer(int x, int y);
    ui::CControlUI* control(const char* name) const;
    ui::COptionUI* option(const char* name) const;

    TempFolder folder_;
    std::string hid_folder_ = folder_.path() + "/hid";
    std::string data_folder_ = folder_.path() + "/data/";
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", hid_folder_};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", data_folder_};
    std::unique_ptr<ProfileStore> store_;
    FakeDesktop desktop_;
    RecordingNotices notices_;
    ScriptedDialogs dialogs_;
    std::unique_ptr<shell::COskelMainWnd> window_;
    std::vector<std::unique_ptr<VirtualMouseProcess>> mice_;
    // Addresses the window opened; the opener answers `launch_started_`. With `real_launcher_`
    // the window opens them on the desktop instead.
    std::vector<std::string> launched_;
    bool launch_started_ = true;
    bool real_launcher_ = false;
};

}  // namespace talvoro::test
