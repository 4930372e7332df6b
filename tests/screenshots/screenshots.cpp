// Draws the screenshots in docs/screenshots: every tab and every popup, the function menu, the
// left-button warning, the progress of an apply, the macro page with a recorded macro and its
// mouse-step menu, in English and in traditional Chinese, from
// the real windows built headless against a virtual mouse and driven as a person would. The
// popups are drawn over the main window where they open, and the window's silhouette is cut out.
//
//   build/bin/talvoro_screenshots docs/screenshots
//   build/bin/talvoro_screenshots --scale 200 docs/screenshots/scale-200
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "core/combo.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/menu.h"
#include "core/menu_element.h"
#include "core/paint_manager.h"
#include "diagnostics/window_driver.h"
#include "dialogs/notice_box_wnd.h"
#include "platform/program_paths.h"
#include "render/png_writer.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/oskel_main_wnd.h"
#include "shell/pages/function_commands.h"
#include "shell/popups/keys_message_wnd.h"
#include "shell/popups/macro_play_option_wnd.h"
#include "shell/popups/message_box_wnd.h"
#include "shell/popups/popup_message_wnd.h"
#include "shell/popups/popup_state.h"
#include "sleep.h"
#include "store/profile_files.h"
#include "store/store_allocation.h"
#include "support/direct_device_api.h"
#include "support/fake_desktop.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "support/window_pump.h"

namespace {

using namespace talvoro;

constexpr int kEscapeKey = 0x1B;

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

ui::Point centre_of(const ui::CControlUI& control) {
    const ui::Rect& r = control.pos();
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

void move_pointer(ui::CWindowWnd& window, ui::Point at) {
    window.send_message(ui::WindowMessage::kMouseMove, 0, ui::make_point_param(at.x, at.y));
    test::pump_windows();
}

void click_and_pump(ui::CWindowWnd& window, ui::Point at) {
    ui::click_at(window, at);
    test::pump_windows();
}

ui::CMenuElementUI* menu_entry(ui::CMenuUI* menu, int command) {
    for (int i = 0; menu != nullptr && i < menu->count(); ++i) {
        auto* entry = dynamic_cast<ui::CMenuElementUI*>(menu->item_at(i));
        if (entry != nullptr && !entry->is_separator() && entry->command() == command) {
            return entry;
        }
    }
    return nullptr;
}

// Opens the function menu of a button field and rests the pointer on "Mouse Function", which
// expands that submenu. Returns the submenu, null when something did not open.
ui::CMenuUI* open_mouse_functions(ui::CWindowWnd& window, const std::string& field) {
    if (!ui::click_control(window, field)) {
        return nullptr;
    }
    test::pump_windows();
    window.paint_now();  // lays the menu out, so its entries have their places
    ui::CMenuElementUI* entry =
        menu_entry(ui::CMenuUI::shown_menu(window.manager()), shell::kMouseFunctionSubmenu);
    if (entry == nullptr) {
        return nullptr;
    }
    move_pointer(window, centre_of(*entry));
    window.paint_now();
    return entry->open_submenu();
}

// Escape, as often as the open menus need; false when a menu stays open.
bool close_menu(ui::CWindowWnd& window) {
    for (int tries = 0; tries < 3 && ui::CMenuUI::shown_menu(window.manager()) != nullptr;
         ++tries) {
        ui::press_key(window, kEscapeKey);
        test::pump_windows();
    }
    return ui::CMenuUI::shown_menu(window.manager()) == nullptr;
}

// The first entry of the menu open in `window` that is no separator.
ui::CMenuElementUI* first_menu_entry(ui::CWindowWnd& window) {
    ui::CMenuUI* menu = ui::CMenuUI::shown_menu(window.manager());
    for (int i = 0; menu != nullptr && i < menu->count(); ++i) {
        auto* entry = dynamic_cast<ui::CMenuElementUI*>(menu->item_at(i));
        if (entry != nullptr && !entry->is_separator()) {
            return entry;
        }
    }
    return nullptr;
}

void send_input(ui::CWindowWnd& window, ui::WindowMessage msg, uintptr_t wparam, ui::Point at) {
    window.send_message(msg, wparam, ui::make_point_param(at.x, at.y));
    test::pump_windows();
}

// A person types "Hi" (with Shift), clicks in the step list and turns the wheel one notch
// towards them, all into the window that has the focus.
void type_and_click(ui::CWindowWnd& window, ui::Point in_list) {
    using ui::WindowMessage;
    constexpr int kShift = 0x10;
    for (const auto& [msg, key] :
         {std::pair{WindowMessage::kKeyDown, kShift}, std::pair{WindowMessage::kKeyDown, int{'H'}},
          std::pair{WindowMessage::kKeyUp, int{'H'}}, std::pair{WindowMessage::kKeyUp, kShift},
          std::pair{WindowMessage::kKeyDown, int{'I'}},
          std::pair{WindowMessage::kKeyUp, int{'I'}}}) {
        send_input(window, msg, static_cast<uintptr_t>(key), {});
    }
    send_input(window, WindowMessage::kMouseMove, 0, in_list);
    send_input(window, WindowMessage::kButtonDown, 1, in_list);
    send_input(window, WindowMessage::kButtonUp, 1, in_list);
    send_input(window, WindowMessage::kMouseWheel, ui::make_wheel_param(-1), in_list);
}

// The macro page with a macro recorded through its buttons (fixed delays, so every run draws
// the same delays), then its mouse-step menu with the first submenu open. The macro is deleted
// again, so the next language starts from an empty page as well.
bool write_macro_shots(shell::COskelMainWnd& window, const std::string& out,
                       const std::string& suffix) {
    ui::click_control(window, "macromanagebtn");
    test::pump_windows();
    auto* names = dynamic_cast<ui::CListUI*>(window.manager().find_control("macro_name_list"));
    const ui::CControlUI* steps = window.manager().find_control("macro_item_list");
    if (names == nullptr || steps == nullptr || !ui::click_control(window, "macro_new_btn")) {
        return false;
    }
    test::pump_windows();
    window.paint_now();  // places the new row
    if (names->row_at(0) == nullptr) {
        return false;
    }
    click_and_pump(window, centre_of(*names->row_at(0)));
    if (names->get_cur_sel() != 0) {
        std::printf("the macro row did not take the click\n");
        return false;
    }
    bool ok = ui::click_control(window, "insert_default_delay_option") &&
              ui::click_control(window, "macro_record_btn") && window.recording();
    test::pump_windows();
    if (ok) {
        type_and_click(window, centre_of(*steps));
        ok = ui::click_control(window, "macro_record_stop_btn") && !window.recording();
        test::pump_windows();
    }
    ok = ok && write_screen(window, nullptr, out + "macro_recorded" + suffix);
    {
        // What a recording says once its macro holds all the steps it can, as the desktop's
        // notice box shows it over the window.
        ui::CNoticeBoxWnd full(shell::text(shell::TextRow::kMacroFull), "Notice by App",
                               ui::NoticeIcon::kInformation);
        ok = full.open(&window) && write_screen(window, &full, out + "macro_full" + suffix) && ok;
        full.close();
        test::pump_windows();
    }
    // The option back as it was, for the other shots.
    ok = ui::click_control(window, "insert_default_delay_option") && ok;
    test::pump_windows();

    if (ui::click_control(window, "insert_mouse_event_btn")) {
        test::pump_windows();
        window.paint_now();  // lays the menu out, so its entries have their places
        ui::CMenuElementUI* first = first_menu_entry(window);
        if (first != nullptr) {
            move_pointer(window, centre_of(*first));
            window.paint_now();
        }
        ok = first != nullptr && first->open_submenu() != nullptr &&
             write_screen(window, nullptr, out + "mouse_step_menu" + suffix) && ok;
    } else {
        ok = false;
    }
    ok = close_menu(window) && ok;
    ok = ui::click_control(window, "macro_delete_btn") && ok;
    test::pump_windows();
    return names->count() == 0 && ok;
}

// The apply's progress is drawn while the link waits between profile writes, so the wait is
// where it is caught: once, at the third profile, then the waits are skipped again.
struct ProgressShot {
    ui::CWindowWnd* window = nullptr;
    std::string path;  // empty: nothing to catch
    int waits = 0;
    bool written = false;
};
ProgressShot progress_shot;

void wait_catching_progress(std::chrono::milliseconds) {
    auto* window = dynamic_cast<shell::COskelMainWnd*>(progress_shot.window);
    if (window == nullptr || progress_shot.path.empty() || !window->exchange_progress_shown()) {
        return;
    }
    if (++progress_shot.waits == 3) {
        progress_shot.written = write_screen(*window, nullptr, progress_shot.path);
        progress_shot.path.clear();
    }
}

// Apply, confirmed in its popup, with a screenshot half-way through the writes.
bool write_apply_progress(shell::COskelMainWnd& window, const std::string& path) {
    const ui::CButtonUI* apply = window.controls().main_block.ok_btn;
    if (apply == nullptr || !ui::click_control(window, apply->name())) {
        return false;
    }
    test::pump_windows();
    ui::CWindowWnd* confirmation = newest_popup();
    progress_shot = ProgressShot{&window, path};
    if (confirmation == nullptr || !ui::click_control(*confirmation, "popup_message_ok_btn")) {
        progress_shot = ProgressShot{};
        close_popups();
        return false;
    }
    test::pump_windows();
    const bool written = progress_shot.written;
    if (!written) {
        std::printf("could not catch the progress for %s\n", path.c_str());
    }
    progress_shot = ProgressShot{};
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<ui::DisplayScale> scale = ui::DisplayScale{};
    if (argc == 4 && std::string(argv[1]) == "--scale") {
        scale = ui::DisplayScale::from_percent(std::atoi(argv[2]));
        argv += 2;
        argc -= 2;
    }
    if (argc != 2 || !scale) {
        std::fprintf(stderr,
                     "usage: talvoro_screenshots [--scale 100|125|...|300] OUTPUT_FOLDER\n");
        return 2;
    }
    // Every window the tool opens is drawn at this scale, as on such a desktop.
    ui::set_default_display_scale(*scale);
    const std::string out = std::string(argv[1]) + "/";
    mkdir(out.c_str(), 0755);

    test::TempFolder folder;
    test::ScopedEnv hid("TALVORO_HID_DIR", folder.path() + "/hid");
    test::ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
    test::ScopedEnv data("TALVORO_DATA_DIR", folder.path() + "/data/");
    test::VirtualMouseProcess mouse(folder.path() + "/hid", {"--no-timing"});
    set_sleep_function(&no_wait);

    // As the program does at start, so that apply can keep its files (it tells when it cannot).
    static_cast<void>(ensure_program_folders());
    ProfileStorePtr store = allocate_zeroed_store();
    test::FakeDesktop desktop;
    SilentNotices notices;
    test::ScriptedDialogs dialogs;
    shell::ShellServices services;
    services.notices = &notices;
    services.profile_dialogs = &dialogs;
    services.desktop = &desktop;
    services.sleep = &wait_catching_progress;
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

    // Settings away from the factory ones, so the performance page shows its controls in use.
    for (ProfileBlock& profile : store->profiles) {
        profile.wheel_lines_level = 6;
        profile.double_click_level = 4;
        profile.pointer_speed_level = 7;
    }
    store->profiles[0].lift_off_level = 3;
    store->profiles[0].angle_snapping_level = 5;
    store->profiles[0].report_rate_hz = 500;
    store->profiles[0].power_save_seconds = 60;
    store->profiles[0].smoothing = 1;

    bool ok = true;
    const char* tabs[] = {"maincontrolbtn", "performancebtn", "macromanagebtn", "techsupportbtn"};
    const char* tab_files[] = {"main_control", "performance", "macros", "support"};
    for (int language : {0, 1}) {
        // Chosen in the combo, as the user does.
        combo->select_item(language);
        test::pump_windows();
        const std::string suffix = language == 0 ? "_en.png" : "_zh-tw.png";
        for (int tab = 0; tab < 4; ++tab) {
            ui::click_control(window, tabs[tab]);
            test::pump_windows();
            ok = write_screen(window, nullptr, out + tab_files[tab] + suffix) && ok;
        }
        ui::click_control(window, "maincontrolbtn");
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

        // The function menu of button 2 with its mouse functions expanded under the pointer.
        ok = open_mouse_functions(window, "button_2_btn") != nullptr &&
             write_screen(window, nullptr, out + "function_menu" + suffix) && close_menu(window) &&
             ok;

        // Button 1 is the only Left Click: choosing Right Click for it brings the warning.
        ui::CMenuElementUI* right_click =
            menu_entry(open_mouse_functions(window, "button_1_btn"),
                       shell::function_row_by_code(kRightClick)->command);
        if (right_click != nullptr) {
            click_and_pump(window, centre_of(*right_click));
        }
        ok = right_click != nullptr && close_menu(window) &&
             write_screen(window, nullptr, out + "left_button_warning" + suffix) && ok;
        // Opening the menu again takes the warning away rather than waiting its four seconds.
        ui::click_control(window, "button_1_btn");
        test::pump_windows();
        ok = close_menu(window) && ok;

        ok = write_apply_progress(window, out + "apply_progress" + suffix) && ok;
        ok = write_macro_shots(window, out, suffix) && ok;
    }
    combo->select_item(0);
    set_sleep_function(nullptr);
    return ok ? 0 : 1;
}
