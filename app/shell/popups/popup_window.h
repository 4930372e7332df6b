// What the four popups share. A popup is built from its layout resource with the pictures of
// the current language's skin, shown centred over the window of the control that opened it,
// and reports its outcome later as an asynchronous notification through that window's manager,
// with that control as sender. Its object is made by the popup's static open function and
// frees itself once its window is gone: closed by its own buttons or keys, closed from outside
// with close(), or taken down with its owner's window. A popup closed from outside sends
// nothing. Close popups with close(): a plain destroy() leaves the object to be freed when the
// next popup opens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/notify.h"
#include "core/window.h"

namespace talvoro::shell {

class PopupWindow : public ui::CWindowWnd, public ui::INotifyUI, public ui::IMessageFilterUI {
  public:
    // What a popup class is built from.
    struct Frame {
        int layout_id;       // layout resource id
        ui::Size size;       // window size
        int caption_height;  // when the layout names no caption band
    };

    // The control whose click opened the popup; null once it or its window is gone.
    ui::CControlUI* owner_control() const;
    // The window of that control; null once it is gone.
    ui::CWindowWnd* owner_window() const;
    // A control of the popup's layout by name; null when the layout has none.
    ui::CControlUI* control(std::string_view name);

    // Popup objects that still exist, oldest first.
    static std::vector<PopupWindow*> live_popups();
    // Each popup has a number of its own, never reused, so that another object can ask whether
    // it still exists without keeping a pointer that may dangle.
    uint64_t serial() const { return serial_; }
    static PopupWindow* find_popup(uint64_t serial);

    // Folder of the current language's pictures: "<resources>/<skin folder>/".
    static std::string skin_folder();

  protected:
    explicit PopupWindow(ui::CControlUI* owner);
    // Only the object itself deletes itself (or show_new, when it cannot be shown).
    ~PopupWindow() override;

    // Shows a popup made with new over its owner's window: the popup itself, or null (and the
    // object freed) when it cannot be shown.
    template <class Popup>
    static Popup* show_new(Popup* popup, const Frame& frame) {
        PopupWindow* window = popup;
        if (!window->open_over_owner(frame)) {
            delete window;
            return nullptr;
        }
        return popup;
    }

    // The controls exist and the window is about to be shown.
    virtual void prepare() {}
    // Sees every message before the controls do; true swallows it.
    virtual bool pre_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam);
    // Notifications of the popup's own controls, and results of popups it opened itself.
    virtual void on_notify(ui::TNotifyUI& msg) = 0;

    // The result word, sent asynchronously to the owner's window with the owner as sender;
    // nothing when the owner is gone.
    void send_result(std::string_view word);
    // Whether Enter is the popup's default answer now: not while a drop-down list is open or
    // after Tab put the focus on a button, which Enter then presses.
    bool enter_answers();

  private:
    // Builds the layout, lets the popup prepare its controls, and shows the window centred over
    // the owner's window. False, with nothing shown, when the owner has no window or the layout
    // cannot be built.
    bool open_over_owner(const Frame& frame);
    intptr_t handle_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                            bool& handled) final;
    void notify(ui::TNotifyUI& msg) final;
    // Messages of the owner's window: the popup goes when it goes.
    intptr_t message_handler(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                             bool& handled) final;
    void on_destroyed();
    void owner_gone();
    // The popup's end, once none of its own message handling is running any more.
    void release();
    static void release_orphans();

    ui::CControlUI* owner_;
    ui::CWindowWnd* owner_window_ = nullptr;
    uint64_t serial_;
    ui::Size corner_{3, 3};
    int depth_ = 0;                 // messages of this window being handled, nested
    bool in_async_notify_ = false;  // a notification drained by the window's own queue
    bool destroyed_ = false;
    bool deleting_ = false;
};

}  // namespace talvoro::shell
