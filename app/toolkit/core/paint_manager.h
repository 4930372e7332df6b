// One window's controls: the tree, layout, fonts and images, input dispatch, notifications,
// timers and the invalid region. The platform layer drives it; tests drive it directly.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_handler.h"
#include "core/control.h"
#include "core/key_codes.h"
#include "core/notify.h"
#include "core/timer_queue.h"
#include "render/canvas.h"
#include "render/font_style.h"
#include "render/image_cache.h"

namespace talvoro::ui {

// The key code of Escape, the same number in SDL and in Windows virtual keys.
inline constexpr int kKeyEscape = 27;

class CPaintManagerUI {
  public:
    using Millis = std::chrono::milliseconds;
    // Told when an overlay closes, after it left the stack. It may move the control out to
    // keep it; otherwise the manager destroys it once the current input event is handled,
    // so a control may close its own overlay from its event handler.
    using OverlayClosed = std::function<void(std::unique_ptr<CControlUI>& overlay)>;

    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // Takes the tree; the previous one is destroyed.
    void set_root(std::unique_ptr<CControlUI> root);
    CControlUI* root() const { return root_.get(); }

    Size client_size() const { return client_size_; }
    void set_client_size(Size size);

    // Window attributes of the layout ("size", "caption", "roundcorner", "mininfo" ...).
    void set_window_attribute(std::string_view name, std::string_view value);
    std::optional<std::string> window_attribute(std::string_view name) const;

    // Null for a missing name (or an empty one).
    CControlUI* find_control(std::string_view name) const;
    CControlUI* find_control_at(Point point);
    void for_each_control(const std::function<void(CControlUI&)>& visit);

    // Fonts by index, in declaration order; a bad index gives the default font.
    int add_font(const FontStyle& font, bool make_default = false);
    const FontStyle& font(int index) const;
    size_t font_count() const { return fonts_.size(); }
    // Text without a font of its own is drawn in font `index` from now on; false for a bad index.
    bool set_default_font(int index);
    // -1 when there is none.
    int default_font() const;
    ImageCache& image_cache() { return images_; }
    // The skin folder windows created from now on take their pictures from.
    static void set_resource_path(const std::string& skin_folder);
    static const std::string& resource_path();
    // Points every window's pictures at `skin_folder` (and windows to come), reloads them and
    // redraws every window: the look follows a change of skin at once.
    static void reload_all_images(const std::string& skin_folder);

    void add_notifier(INotifyUI* notifier);
    void remove_notifier(INotifyUI* notifier);
    // Synchronous notifications reach the notifiers before this returns; asynchronous ones
    // wait for drain_async().
    void send_notify(CControlUI* control, std::string_view type, uintptr_t wparam = 0,
                     intptr_t lparam = 0, bool async = false);
    // Delivers the asynchronous notifications queued before the call; ones queued while
    // delivering wait for the next drain. Returns how many were delivered.
    size_t drain_async();
    bool has_pending_async() const { return !async_queue_.empty(); }
    // Called whenever something is queued or a timer set, so the event loop can wake up.
    void set_async_wakeup(std::function<void()> wakeup) { async_wakeup_ = std::move(wakeup); }

    // Timers fire as kTimer events on their control, by the rules of TimerQueue, as window
    // timers do. The clock defaults to the steady clock.
    void set_clock(std::function<Millis()> clock) { clock_ = std::move(clock); }
    // Starts (or starts over) the control's timer; 0 ms fires as soon as possible, then every
    // 1 ms. False for no control. Wakes the event loop, as its next due may now be sooner.
    [[nodiscard]] bool set_timer(CControlUI* control, uintptr_t id, unsigned interval_ms);
    bool kill_timer(CControlUI* control, uintptr_t id);
    std::optional<Millis> next_timer_due() const { return timers_.next_due(); }
    // Fires every timer due at `now` once; returns how many fired. A timer killed or set again
    // by an earlier handler of the pass, or whose control left the tree, does not fire.
    size_t fire_due_timers(Millis now);

    CControlUI* focus() const { return focus_; }
    void set_focus(CControlUI* control);
    CControlUI* hover() const { return hover_; }
    CControlUI* capture() const { return capture_; }

    // Adds the rectangle (cut to the client area) to the invalid region.
    void invalidate(const Rect& rect);
    void invalidate_all() { invalidate(Rect{0, 0, client_size_.width, client_size_.height}); }
    const std::vector<Rect>& invalid_region() const { return invalid_; }
    // Lays out when needed, then redraws only the invalid region, and clears it. Returns the
    // rectangles that were redrawn, for the platform to show.
    std::vector<Rect> paint(Canvas& canvas);

    void need_update() { needs_layout_ = true; }
    bool needs_layout() const { return needs_layout_; }
    void update_layout();

    // Input in window coordinates.
    void mouse_move(int x, int y);
    void mouse_down(int x, int y);
    void mouse_up(int x, int y);
    // Tab and Shift+Tab move the focus among the controls that take it, in the layout's order;
    // other keys go to the focused control.
    void key_down(int key, KeyModifiers modifiers = {});
    // Whether keys have been used since the last click: the focus ring shows only then.
    bool keyboard_used() const { return keyboard_used_; }
    // The next (or, backwards, previous) control that takes the focus after the focused one,
    // wrapping round; null when none does.
    CControlUI* next_focus(bool forwards) const;
    // Whether keys can reach the control now: it takes them, is enabled and is shown.
    bool can_focus(const CControlUI& control) const;
    // Whether a key put the focus on a button: Enter is then that button's, not a dialog's
    // default answer.
    bool keys_on_button() const;
    void text_input(std::string_view utf8);
    // Offers the wheel to the control under the point, then to its parents, until one takes
    // it; false when none did.
    bool mouse_wheel(int x, int y, int notches);

    // A control (and what is under it) leaves the tree: nothing may point at it any more.
    void forget(CControlUI* control);

    // Overlays: popups (drop-down lists, menus) drawn above the tree, last opened on top.
    // They are hit first; while any is open a button press outside all of them closes them
    // all and reaches nothing else, and Escape closes the top one.
    CControlUI* open_overlay(std::unique_ptr<CControlUI> overlay, const Rect& pos,
                             OverlayClosed on_closed = {});
    // Closes the overlay and every overlay opened after it, top first; false when it is not
    // open.
    bool close_overlay(CControlUI* overlay);
    void close_all_overlays();
    size_t overlay_count() const { return overlays_.size(); }
    // 0 is the bottom one; null for a bad index.
    CControlUI* overlay(size_t index) const;

    // Commands (menu choices) go to the command handlers, in the order they were added.
    void add_command_handler(ICommandHandlerUI* handler);
    void remove_command_handler(ICommandHandlerUI* handler);
    void send_command(int id);

  private:
    void paint_focus_ring(Canvas& canvas, const Rect& dirty);
    Millis now() const { return clock_(); }
    void deliver(TNotifyUI& msg);
    void send_event(CControlUI* control, EventType type, Point point);
    void update_hover(Point point);
    struct Overlay {
        std::unique_ptr<CControlUI> control;
        OverlayClosed on_closed;
    };
    bool overlay_contains(Point point) const;
    // Removes the top overlay, tells its owner and keeps it until release_closed_overlays().
    void close_top_overlay();
    void release_closed_overlays() { closed_overlays_.clear(); }

    std::unique_ptr<CControlUI> root_;
    Size client_size_;
    std::map<std::string, std::string, std::less<>> window_attributes_;
    std::vector<FontStyle> fonts_;
    int default_font_ = -1;
    ImageCache images_;
    std::vector<INotifyUI*> notifiers_;
    std::vector<TNotifyUI> async_queue_;
    std::function<void()> async_wakeup_;
    std::function<Millis()> clock_;
    TimerQueue timers_;
    std::vector<Rect> invalid_;
    bool needs_layout_ = true;
    CControlUI* focus_ = nullptr;
    bool keyboard_used_ = false;
    CControlUI* hover_ = nullptr;
    CControlUI* capture_ = nullptr;
    Point last_point_;
    std::vector<Overlay> overlays_;
    std::vector<std::unique_ptr<CControlUI>> closed_overlays_;
    std::vector<ICommandHandlerUI*> command_handlers_;
};

}  // namespace talvoro::ui
