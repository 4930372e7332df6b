// The program's one top-level window: the shaped frame, its four pages, the window-level state
// (page profile, current button, open popups, device presence), the first stage of every window
// message, and the dispatch of every notification of its controls and popups.
#pragma once

#include <array>
#include <cstdint>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/command_handler.h"
#include "core/notify.h"
#include "core/window.h"
#include "device/device_api.h"
#include "device/device_events.h"
#include "device/device_link.h"
#include "device/presence_monitor.h"
#include "device/profile_exchange.h"
#include "render/mask_region.h"
#include "shell/dialog_builder_callback_ex.h"
#include "shell/exchange_progress.h"
#include "shell/main_window_controls.h"
#include "shell/pages/page_host.h"
#include "shell/shell_services.h"
#include "store/profile_store.h"

namespace talvoro::platform {
class DeviceWatcher;
}

namespace talvoro::shell {

class LayoutPage;
class OskelMainControlUI;
class OskelPerformanceUI;
class OskelMacroManageUI;
class OskelSupportUI;
class MacroRecorder;
struct RecordedInput;

// Popup flags: a bit for each popup the window opened and has not yet seen closed.
inline constexpr uint32_t kMacroLimitShown = 0x0800;
inline constexpr uint32_t kApplyConfirmShown = 0x1000;
inline constexpr uint32_t kResetConfirmShown = 0x2000;
inline constexpr uint32_t kExitConfirmShown = 0x4000;
inline constexpr uint32_t kConfirmationsShown = 0x7000;

// Kinds of the confirmation popup.
inline constexpr int kApplyConfirmation = 0;
inline constexpr int kResetConfirmation = 1;
inline constexpr int kExitConfirmation = 2;
inline constexpr int kNotDetectedConfirmation = 3;

class COskelMainWnd : public ui::CWindowWnd,
                      public ui::INotifyUI,
                      public ui::ICommandHandlerUI,
                      private PageHost,
                      private DeviceEvents {
  public:
    // The store and the library's entry points outlive the window.
    COskelMainWnd(ProfileStore& store, const DeviceApi& api, ShellServices services);
    ~COskelMainWnd() override;

    std::string_view window_class_name() const override { return "MSUIMainFrame"; }

    // Creates the window on the screen, centred, as large as its mask bitmap (the layout's size
    // without one) and shaped by it, with its first frame drawn; the start-up read follows from
    // the message loop, after that frame.
    bool create_main(const std::string& title);

    // The start-up read and everything "windowinit" does; the message loop runs it once.
    void window_init();

    void notify(ui::TNotifyUI& msg) override;
    void on_command(int id) override;

    // Shows profile `slot` (0..4) on every page and makes it the page profile.
    void page_refresh(int slot);
    // The language combo's choice.
    void change_language(int index);
    // The widths and positions that differ between the languages.
    void language_layout_adjustment(int index);
    // Keeps the interface language in the settings file; a file that cannot be written is told.
    void save_language(int index);

    // An interface arrived or left.
    void device_change(const watch::DeviceChange& change);

    int current_profile_slot() const override { return current_profile_slot_; }
    int current_main_tab() const override { return current_main_tab_; }
    // The page `direction` tabs on from the shown one, round the four.
    void switch_page(int direction);
    // The button whose function menu was opened last, 0..10.
    int current_button() const;
    bool menu_open() const;
    // Whether the progress of an exchange with the mouse is on screen.
    bool exchange_progress_shown() const { return progress_.shown(); }
    uint32_t popup_flags() const { return presence_.state().popup_flags; }
    bool device_absent() const { return presence_.state().device_absent; }
    // Whether the macro page records: input then goes to its recorder and only the stop button
    // reacts.
    bool recording() const;
    bool quit_requested() const { return quit_requested_; }
    const MainWindowControls& controls() const { return controls_; }
    ProfileExchange& exchange() { return exchange_; }
    DeviceLink& link() override { return link_; }
    // The pages, null when the layout has none of that kind.
    OskelMainControlUI* main_control_page() const { return main_page_; }
    OskelPerformanceUI* performance_page() const { return performance_page_; }
    OskelMacroManageUI* macro_page() const { return macro_page_; }
    OskelSupportUI* support_page() const { return support_page_; }

  protected:
    intptr_t handle_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                            bool& handled) override;

  private:
    // What the device layer reports: progress drawn at once, the pages refreshed, the notices
    // about the mouse shown and closed.
    void on_device_event(const DeviceEvent& event) override;
    // After a refresh from the mouse: the macro list, the page profile's tab, the lighting
    // switched on, the language's geometry, and a notice when the mouse could not be read.
    void refresh_done(bool read);
    void close_notice_popups();
    // Sends the lighting to the mouse; a mouse that is there but does not take it is told.
    void send_lighting(bool lit);

    // What the pages ask of the window.
    ProfileStore& store() override { return store_; }
    const ShellServices& services() const override { return services_; }
    ui::CWindowWnd& window() override { return *this; }
    bool device_present() const override { return !device_absent(); }
    void show_notice(const std::string& text) override;
    void macros_replaced() override;
    void recording_changed(bool recording) override;
    void mark_popup_shown(uint32_t flag) override { presence_.state().popup_flags |= flag; }

    void on_create();
    void apply_window_shape();
    void control_setup();
    void prepare_language_combo();
    void start_device_watch();
    void on_device_messages();
    void quit();

    // While recording: hands keys, buttons and the wheel to the recorder; true when the message
    // stops there (only a left click on the stop button goes on to the controls).
    bool feed_recorder(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam);
    // The desktop's input while recording, where the system gives it (the window's own input is
    // then only kept from the controls).
    void record_background(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam);
    void record(const RecordedInput& input);
    // True when the input lock swallows the message.
    bool input_locked(ui::WindowMessage msg, intptr_t lparam);
    bool point_in(const char* control_name, ui::Point point);

    void on_click(ui::TNotifyUI& msg);
    void on_select_changed(ui::TNotifyUI& msg);
    // Result words of the popups; false when the type is not one.
    bool on_popup_result(const std::string& type);
    void open_confirmation(int kind, ui::CControlUI* owner);
    void open_not_detected();
    void apply();
    void reset_all();
    // AllProfile and the macro store, after apply and reset all; a file that cannot be written
    // is told, since the macro names and steps live only there.
    void save_state_files();
    // "Not saved" for `path`, with the system's reason `error` (an errno value).
    void tell_not_saved(const std::string& path, int error);
    // Tells the person why an apply failed: the profile whose macros do not fit, or the mouse.
    void tell_apply_result(uint8_t status);
    void select_profile_tab(int slot, bool send_click);
    bool route_to_pages(ui::TNotifyUI& msg);
    // The four pages in tab order, each null when missing.
    std::array<LayoutPage*, 4> pages() const;

    ProfileStore& store_;
    ShellServices services_;
    DeviceLink link_;
    ProfileExchange exchange_;
    PresenceMonitor presence_;
    CDialogBuilderCallbackEx builder_callback_;
    MainWindowControls controls_;
    ExchangeProgress progress_;
    std::unique_ptr<platform::DeviceWatcher> watcher_;
    // Read once for both the size and the shape, on another core from construction on;
    // dropped after creation.
    std::future<std::optional<ui::MaskRegion>> mask_loading_;
    std::optional<ui::MaskRegion> mask_;
    OskelMainControlUI* main_page_ = nullptr;
    OskelPerformanceUI* performance_page_ = nullptr;
    OskelMacroManageUI* macro_page_ = nullptr;
    OskelSupportUI* support_page_ = nullptr;

    uint8_t current_main_tab_ = 0;
    ui::Point last_pointer_;
    // A left press on the stop button went to the controls, so its release follows it there.
    bool stop_press_passed_ = false;
    bool background_input_ = false;
    bool window_initialised_ = false;
    bool quit_requested_ = false;
    uint8_t current_profile_slot_ = 0;
};

}  // namespace talvoro::shell
