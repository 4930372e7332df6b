// The macro play-mode popup, opened right after a macro is given to a button: play once, N
// times (1..99), while pressed, or toggled. OK leaves the choice in PopupResult (w0/w1 the
// combo index s, w2 s + 1, w4/w5 N) and sends "macro_playoption_ok"; Cancel and the close button
// send "macro_playoption_cancel". A repeat count that is not 1..99 brings up the repeat-count
// message box instead, and the popup takes no input until that box is acknowledged.
#pragma once

#include <cstdint>

#include <optional>

#include "shell/popups/popup_state.h"
#include "shell/popups/popup_window.h"
#include "store/profile_store.h"

namespace talvoro::shell {

// "Play N times" plays a macro 1..99 times.
inline constexpr int kMaxRepeatCount = 99;

// The play modes in the order of the popup's combo.
enum class PlayMode : int { kOnce = 0, kNTimes = 1, kWhilePressed = 2, kToggle = 3 };

// The play mode the popup left behind when it sent "macro_playoption_ok".
struct PlayModeChoice {
    PlayMode mode;
    int repeat_count;  // 1..99, for kNTimes

    // The button's macro_play_mode in the store: 1, N, 241 or 242.
    int32_t store_value() const;
};
// Nothing when the area holds no mode of the combo, or "N times" without a count of 1..99.
std::optional<PlayModeChoice> read_play_mode_choice(const PopupResultArea& result);

class CMacroPlayOptionWnd : public PopupWindow {
  public:
    // Combo indexes.
    static constexpr int kOnce = 0;
    static constexpr int kNTimes = 1;
    static constexpr int kWhilePressed = 2;
    static constexpr int kToggle = 3;

    // Preselects the play mode of `button` (0..10) of `profile` (0..4) in `store`. Null
    // (nothing opened) for an index out of range, an owner outside any window, or a layout
    // that cannot be built.
    static CMacroPlayOptionWnd* open(int button, int profile, const ProfileStore& store,
                                     ui::CControlUI* owner);

    std::string_view window_class_name() const override { return "MacroPlayOptionWnd"; }
    // The combo index a play mode of the store is shown as.
    static int index_of_mode(int32_t mode);
    // Whether the repeat-count message box this popup opened is still up.
    bool message_box_open() const;

  private:
    CMacroPlayOptionWnd(int32_t mode, ui::CControlUI* owner) : PopupWindow(owner), mode_(mode) {}
    ~CMacroPlayOptionWnd() override = default;

    void prepare() override;
    bool pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) override;
    void on_notify(ui::TNotifyUI& msg) override;
    void show_repeat_count(bool shown, bool focus);
    void accept(ui::CControlUI* ok_button);
    void cancel();

    int32_t mode_;
    int repeat_count_ = 1;
    uint64_t message_box_ = 0;  // serial of the repeat-count box, 0 for none
};

}  // namespace talvoro::shell
