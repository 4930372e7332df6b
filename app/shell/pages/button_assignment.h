// The eleven button fields of the main control page: the function each button holds in the page
// profile, the function menu a click on a field opens, the menu's commands with the rule that
// one button stays on Left Click (and its warning), the single-key and macro play-option popups,
// and the highlighting of the mouse picture under the pointer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/notify.h"
#include "render/rect.h"
#include "shell/pages/function_commands.h"
#include "store/profile_store.h"

namespace talvoro::shell {

class LayoutPage;
class PageHost;
struct MainWindowControls;

// The left-button warning's timer, on the page.
inline constexpr uintptr_t kWarningTimer = 14;
inline constexpr unsigned kWarningMs = 4000;

// Where each button sits on the mouse picture (MCBox.bmp, lit in MCBox2.bmp), button 1 first.
inline constexpr std::array<ui::Rect, kButtonCount> kButtonPictureSources = {{
    {455, 270, 490, 318},
    {516, 270, 552, 318},
    {494, 286, 514, 318},
    {496, 328, 510, 341},
    {496, 342, 510, 353},
    {612, 311, 629, 339},
    {623, 339, 636, 364},
    {378, 311, 394, 339},
    {371, 339, 383, 363},
    {586, 286, 603, 307},
    {402, 286, 420, 307},
}};

// The "bkimage" of button `button`'s picture label, lit or not.
std::string button_picture(int button, bool lit);
// What a button field shows for a key: the name in the table (with its blanks) and `key_word`.
std::string key_field_text(const char* key_name, const char* key_word);
inline constexpr const char* kUnknownKeyText = "Unknown Key";

class ButtonAssignment {
  public:
    // `page` owns the warning's timer.
    void bind(LayoutPage& page, PageHost& host, const MainWindowControls& controls);

    // A click on a button field, or the result word of the key or play-option popup; true when
    // acted on.
    bool on_notify(ui::TNotifyUI& msg);
    static bool handles_command(int id) {
        return id == kFunctionMenuClosed ||
               (id >= kFirstFunctionCommand && id <= kLastFunctionCommand);
    }
    void on_command(int id);
    void on_timer(uintptr_t id);
    // The fields of profile `slot`.
    void show_buttons(int slot);
    // The pointer moved to `point` (window coordinates) while the main control page is shown.
    void on_pointer_moved(ui::Point point);

    int current_button() const { return current_button_; }
    bool menu_open() const { return menu_open_; }
    bool warning_visible() const { return warning_visible_; }

  private:
    void open_menu(int button);
    void apply_command(const FunctionCommand& command);
    void on_key_chosen();
    void on_play_mode_chosen();
    void show_warning();
    void hide_warning();
    void set_field_text(int button, const std::string& text);
    // The profile the page edits; null when there is none.
    ProfileBlock* current_profile();

    LayoutPage* page_ = nullptr;
    PageHost* host_ = nullptr;
    const MainWindowControls* controls_ = nullptr;
    uint8_t current_button_ = 0;
    uint8_t warning_button_ = 0;  // whose label shows the warning
    bool menu_open_ = false;
    bool warning_visible_ = false;
    // -1 until the picture label was first set by the hover, then 0 or 1 (lit).
    std::array<int8_t, kButtonCount> lit_{};
};

}  // namespace talvoro::shell
