#include "shell_fixture.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "core/paint_manager.h"
#include "diagnostics/window_driver.h"
#include "platform/program_paths.h"
#include "shell/language/language.h"
#include "shell/oskel_mice_app.h"
#include "shell/popups/popup_state.h"
#include "sleep.h"
#include "support/direct_device_api.h"
#include "support/window_pump.h"

namespace talvoro::test {
namespace {

void no_wait(std::chrono::milliseconds) {}

}  // namespace

ShellTest::ShellTest() : store_(std::make_unique<ProfileStore>()) {
    set_sleep_function(&no_wait);
    shell::set_language_index(0);
    shell::popup_open = 0;
    ui::CPaintManagerUI::set_resource_path(resource_directory() + "TalvoroSkin/");
    // A test that needs the folders finds out when it writes into them.
    static_cast<void>(ensure_program_folders());
}

ShellTest::~ShellTest() {
    close_windows_except("MSUIMainFrame");
    window_.reset();
    ::Close_QX_device();
    set_sleep_function(nullptr);
    shell::popup_open = 0;
    shell::set_language_index(0);
}

VirtualMouseProcess& ShellTest::start_mouse(std::vector<std::string> args) {
    args.push_back("--no-timing");
    mice_.push_back(std::make_unique<VirtualMouseProcess>(hid_folder_, args));
    return *mice_.back();
}

shell::COskelMainWnd& ShellTest::open_window(bool watch_devices) {
    shell::ShellServices services;
    services.notices = &notices_;
    services.profile_dialogs = &dialogs_;
    services.macro_dialogs = &dialogs_;
    services.desktop = &desktop_;
    services.sleep = &no_wait;
    services.watch_devices = watch_devices;
    if (!real_launcher_) {
        services.open_link = [this](const std::string& address) {
            launched_.push_back(address);
            return launch_started_;
        };
    }
    window_ = std::make_unique<shell::COskelMainWnd>(*store_, direct_api(), services);
    EXPECT_TRUE(window_->create_main(shell::kMainWindowTitle));
    pump();
    return *window_;
}

void ShellTest::pump() {
    pump_windows();
}

bool ShellTest::pump_until(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<ui::CWindowWnd*> ShellTest::popups() const {
    std::vector<ui::CWindowWnd*> found;
    for (ui::CWindowWnd* window : ui::CWindowWnd::live_windows()) {
        if (window->window_class_name() == "PopupWnd") {
            found.push_back(window);
        }
    }
    return found;
}

void ShellTest::click(const char* name) {
    EXPECT_TRUE(ui::click_control(*window_, name)) << name;
    pump();
}

void ShellTest::click_in_popup(const char* name) {
    const auto open = popups();
    ASSERT_EQ(open.size(), 1u);
    EXPECT_TRUE(ui::click_control(*open.front(), name)) << name;
    pump();
}

void ShellTest::move_pointer(int x, int y) {
    window_->send_message(ui::WindowMessage::kMouseMove, 0, ui::make_point_param(x, y));
    pump();
}

ui::CControlUI* ShellTest::control(const char* name) const {
    return window_->manager().find_control(name);
}

ui::COptionUI* ShellTest::option(const char* name) const {
    return dynamic_cast<ui::COptionUI*>(control(name));
}

}  // namespace talvoro::test
