// What the device link asks of the main window. The program's window
// implements it; the command-line tool and tests have their own.
#pragma once

namespace talvoro {

// The steps of a long exchange with the mouse, for its progress on screen.
enum class ExchangeStep {
    kReadProfile,    // reading profile 1..5 of the mouse
    kWriteProfile,   // writing profile 1..5 to the mouse
    kSelectProfile,  // making the applied profile the mouse's current one
};

class DeviceLinkUi {
  public:
    virtual ~DeviceLinkUi() = default;

    // Show profile `slot` (0..4) on every page and make it the page profile;
    // a slot above 4 leaves the pages as they are.
    virtual void show_profile(int slot) = 0;
    // Draw the window now: a long blocking exchange is about to start.
    virtual void paint_now() = 0;
    // The not-detected popup, centred over the main window.
    virtual void show_not_detected() = 0;
    // Close every notice popup (and clear the popup-open flag).
    virtual void close_notice_popups() = 0;
    // After a device refresh: the macro list, the page profile's tab (kept
    // below 5), the LED option (false when the layout has none) and the
    // language-dependent layout.
    virtual void rebuild_macro_list() = 0;
    virtual void reselect_page_profile() = 0;
    virtual bool select_led_option() = 0;
    virtual void apply_language_layout() = 0;
    // The mouse answered but could not be read; the pages show the factory
    // settings instead. The user is told so.
    virtual void read_failed() = 0;
    // A long exchange is about to do `step` for profile `profile` (1..5):
    // show how far it has come and draw the window, which is blocked
    // meanwhile. `exchange_done` hides the progress again.
    virtual void exchange_progress(ExchangeStep step, int profile) = 0;
    virtual void exchange_done() = 0;
};

// For callers without a window: every request is a no-op.
class NoWindowUi final : public DeviceLinkUi {
  public:
    void show_profile(int) override {}
    void paint_now() override {}
    void show_not_detected() override {}
    void close_notice_popups() override {}
    void rebuild_macro_list() override {}
    void reselect_page_profile() override {}
    bool select_led_option() override { return false; }
    void apply_language_layout() override {}
    void read_failed() override {}
    void exchange_progress(ExchangeStep, int) override {}
    void exchange_done() override {}
};

}  // namespace talvoro
