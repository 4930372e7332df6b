// Draws the screenshots in docs/screenshots: every tab and every popup, in English and in
// traditional Chinese, from the real windows built headless against a virtual mouse. The popups
// are drawn over the main window where they open, and the window's silhouette is cut out.
//
//   build/bin/talvoro_screenshots docs/screenshots
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/combo.h"
#include "core/paint_manager.h"
#include "platform/program_paths.h"
#include "render/png_writer.h"
#include "shell/language/language.h"
#include "shell/oskel_main_wnd.h"
#include "shell/popups/keys_message_wnd.h"
#include "shell/popups/macro_play_option_wnd.h"
#include "shell/popups/message_box_wnd.h"
#include "shell/popups/popup_message_wnd.h"
#include "shell/popups/popup_state.h"
#include "sleep.h"
#include "store/store_allocation.h"
#include "support/direct_device_api.h"
#include "support/fake_desktop.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "support/window_pump.h"

namespace {

using namespace talvoro;

void no_wait(std::chrono::milliseconds) {}

class SilentNotices final : public UserNotices {
  public:
    void show_notice(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "notice: %s\n", text.c_str());
    }
};

// The main window as the user sees it: its silhouette, with any popup drawn where it stands.
bool write_screen(ui::CWindowWnd& main, ui::CWindowWnd* popup, const std::string& path) {
    main.paint_now();
    std::optional<ui::Image> shot = ui::Image::create(main.rect().width(), main.rect().height());
    if (!shot) {
        return false;
    }
    const ui::Image& drawn = main.canvas().image();
    for (const ui::Rect& r :
         main.shape().empty() ? std::vector<ui::Rect>{drawn.bounds()} : main.shape()) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                shot->set_pixel(x, y, drawn.pixel(x, y));
            }
        }
    }
    if (popup != nullptr) {
        popup->paint_now();
        const ui::Image& over = popup->canvas().image();
        const int left = popup->rect().left - main.rect().left;
        const int top = popup->rect().top - main.rect().top;
        for (int y = 0; y < over.height(); ++y) {
            for (int x = 0; x < over.width(); ++x) {
                shot->set_pixel(left + x, top + y, over.pixel(x, y));
            }
        }
    }
    const bool written = ui::write_png(*shot, path);
    std::printf("%s %s\n", written ? "wrote" : "could not write", path.c_str());
    return written;
}

void close_popups() {
    test::close_windows_except("MSUIMainFrame");
    shell::popup_open = 0;
}

ui::CWindowWnd* newest_popup() {
    const auto live = ui::CWindowWnd::live_windows();
    return live.size() > 1 ? live.back() : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: talvoro_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    mkdir(out.c_str(), 0755);

    test::TempFolder folder;
    test::ScopedEnv hid("TALVORO_HID_DIR", folder.path() + "/hid");
    test::ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    test::ScopedEnv data("TALVORO_DATA_DIR", folder.path() + "/data/");
    test::VirtualMouseProcess mouse(folder.path() + "/hid", {"--no-timing"});
    set_sleep_function(&no_wait);

    ProfileStorePtr store = allocate_zeroed_store();
    test::FakeDesktop desktop;
    SilentNotices notices;
    test::ScriptedDialogs dialogs;
    shell::ShellServices services;
    services.notices = &notices;
    services.profile_dialogs = &dialogs;
    services.desktop = &desktop;
    services.sleep = &no_wait;
    services.watch_devices = false;

    shell::set_language_index(0);
    ui::CPaintManagerUI::set_resource_path(shell::skin_folder_path(0));
    shell::COskelMainWnd window(*store, test::direct_api(), services);
    if (!window.create_main(" Morvane Talvoro Mouse Utility ")) {
        return 1;
    }
    test::pump_windows();
    ui::CControlUI* owner = window.manager().find_control("quitbtn");
    auto* combo = dynamic_cast<ui::CComboUI*>(window.manager().find_control("selectlanguagecmb"));
    if (owner == nullptr || combo == nullptr) {
        return 1;
    }

    bool ok = true;
    const char* tabs[] = {"maincontrolbtn", "performancebtn", "macromanagebtn", "techsupportbtn"};
    const char* tab_files[] = {"main_control", "performance", "macros", "support"};
    for (int language : {0, 1}) {
        // Chosen in the combo, as the user does.
        combo->select_item(language);
        test::pump_windows();
        const std::string suffix = language == 0 ? "_en.png" : "_zh-tw.png";
        for (int tab = 0; tab < 4; ++tab) {
            window.click_control(tabs[tab]);
            test::pump_windows();
            ok = write_screen(window, nullptr, out + tab_files[tab] + suffix) && ok;
        }
        window.click_control("maincontrolbtn");
        test::pump_windows();
        const char* kinds[] = {"confirm_apply", "confirm_reset", "confirm_exit", "not_detected"};
        for (int kind = 0; kind < 4; ++kind) {
            shell::CPopupMessageWnd::open(kind, owner);
            test::pump_windows();
            ok = write_screen(window, newest_popup(), out + kinds[kind] + suffix) && ok;
            close_popups();
        }
        for (int kind = 0; kind < 2; ++kind) {
            shell::CMessageBoxWnd::open(kind, owner);
            test::pump_windows();
            ok = write_screen(window, newest_popup(),
                              out + (kind == 0 ? "macro_limit" : "repeat_count") + suffix) &&
                 ok;
            close_popups();
        }
        shell::CKeysMessageWnd::open(owner);
        test::pump_windows();
        ok = write_screen(window, newest_popup(), out + "single_key" + suffix) && ok;
        close_popups();
        store->profiles[0].macro_play_mode[0] = 5;
        shell::CMacroPlayOptionWnd::open(0, 0, *store, owner);
        test::pump_windows();
        ok = write_screen(window, newest_popup(), out + "play_option" + suffix) && ok;
        close_popups();
    }
    combo->select_item(0);
    set_sleep_function(nullptr);
    return ok ? 0 : 1;
}
