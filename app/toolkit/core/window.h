// A top-level window of the toolkit: messages, message filters, timers by id, posting from other
// threads, the shape and caption band, and a headless mode for tests. It knows no platform; a
// backend (SDL, in app/platform/sdl) shows it on a display when one is installed.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/paint_manager.h"
#include "core/timer_queue.h"
#include "render/canvas.h"
#include "render/display_scale.h"
#include "render/rect.h"

namespace talvoro::ui {

// Named after what happens. Numbers that are data travel in wparam/lparam unchanged.
enum class WindowMessage {
    kCreate,        // after the window exists
    kDestroy,       // before it goes away
    kClose,         // asked to close; the default destroys the window
    kTimer,         // wparam: the timer id
    kMouseMove,     // lparam: make_point_param(x, y) in client coordinates
    kButtonDown,    // wparam: button (1 left, 2 middle, 3 right, 4 and 5 extra); lparam: point
    kButtonUp,      // as kButtonDown
    kDoubleClick,   // as kButtonDown
    kKeyDown,       // wparam: Windows virtual-key code; lparam: kKeyRepeatFlag for auto-repeat
    kKeyUp,         // wparam: Windows virtual-key code
    kMouseWheel,    // wparam: notches as wheel_notches() reads them; lparam: point
    kTextInput,     // lparam: const std::string* (UTF-8), valid during the call only
    kCommand,       // wparam: command id (menu commands keep their numbers)
    kDeviceChange,  // the device watcher has changes for the window to take
    kUser,          // wparam: the program's message number (e.g. 1127); lparam: data
    kPaint,         // the default draws the invalid region and shows it
    kSize,          // lparam: make_point_param(width, height) of the client area
    kMove,          // lparam: make_point_param(x, y) of the window on the screen
    kActivate,      // wparam: 1 activated, 0 deactivated
    kScaleChanged,  // wparam: the new scale in percent; the canvas has the new size already
};

constexpr intptr_t make_point_param(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                                 static_cast<uint16_t>(x));
}
constexpr Point point_from_param(intptr_t param) {
    return Point{static_cast<int16_t>(param & 0xFFFF),
                 static_cast<int16_t>((param >> 16) & 0xFFFF)};
}

// In the lparam of a kKeyDown that the key's auto-repeat sent (the bit Windows uses for it).
inline constexpr intptr_t kKeyRepeatFlag = intptr_t{1} << 30;
// In the lparam of kKeyDown: the modifier keys held.
inline constexpr intptr_t kKeyShiftFlag = intptr_t{1} << 16;
inline constexpr intptr_t kKeyControlFlag = intptr_t{1} << 17;
inline constexpr intptr_t kKeyAltFlag = intptr_t{1} << 18;

// The notches of a kMouseWheel, positive when the wheel turned away from the user.
constexpr uintptr_t make_wheel_param(int notches) {
    return static_cast<uintptr_t>(static_cast<intptr_t>(notches));
}
constexpr int wheel_notches(uintptr_t param) {
    return static_cast<int>(static_cast<intptr_t>(param));
}

// Sees a window's messages after the window's own handler and before its paint manager.
class IMessageFilterUI {
  public:
    virtual ~IMessageFilterUI() = default;
    virtual intptr_t message_handler(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                                     bool& handled) = 0;
};

class CWindowWnd;

// What a display needs to do for a window. Screen coordinates throughout, in physical pixels.
class IWindowBackend {
  public:
    virtual ~IWindowBackend() = default;
    virtual bool create(const std::string& title, const Rect& rect, const CWindowWnd* owner,
                        bool popup) = 0;
    virtual void destroy() = 0;
    virtual void show(bool visible) = 0;
    virtual void move(const Rect& rect) = 0;
    // Shows the painted rectangles of the canvas.
    virtual void present(const Canvas& canvas, const std::vector<Rect>& rects) = 0;
    // Empty: no shape. False when the display cannot shape the window. Physical pixels.
    virtual bool set_shape(const std::vector<Rect>& opaque) = 0;
    // The usable area of the display the window is on.
    virtual Rect work_area() const = 0;
    // False where the compositor alone places windows and tells no one where (Wayland): the
    // window's rectangle then starts at 0, 0.
    virtual bool positions_known() const { return true; }
    // Makes the event loop look at the window soon; called from any thread.
    virtual void wake() = 0;
};

// Installed by the platform; without one, windows are headless.
using WindowBackendFactory = std::function<std::unique_ptr<IWindowBackend>(CWindowWnd&)>;
void set_window_backend_factory(WindowBackendFactory factory);

// The scale windows are created at: the desktop's, as the program found it at start-up. A
// backend that learns its display's own scale later tells the window (set_scale).
void set_default_display_scale(DisplayScale scale);
DisplayScale default_display_scale();
// Turns a display's own scale, as a backend learns it (1.0 at 100 %), into the scale a window
// there takes: the program decides which source wins. Without one the display's own is taken.
using DisplayScalePolicy = std::function<DisplayScale(double display_factor)>;
void set_display_scale_policy(DisplayScalePolicy policy);

// Told, on the UI thread, after a window laid out or drew a frame, once the frame has gone to the
// display (and after a layout pass the caption hit test needed). The UI dump watches this way.
using FrameObserver = std::function<void(CWindowWnd&)>;
// Returns the observer it replaces; an empty one tells nobody.
FrameObserver set_frame_observer(FrameObserver observer);

class CWindowWnd {
  public:
    using Millis = std::chrono::milliseconds;
    enum class HitTest { kClient, kCaption };

    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // `client` is in logical pixels; the window starts at the screen's corner, a popup centred
    // over its owner inside the work area.
    bool create(CWindowWnd* owner, std::string title, Size client, bool popup = false);
    // The class name other windows know it by ("MSUIMainFrame", "PopupWnd" ...).
    virtual std::string_view window_class_name() const { return {}; }
    // Every created window, oldest first.
    static std::vector<CWindowWnd*> live_windows();
    // Whether `window` is still a created window: closing one window may take others with it.
    static bool is_live(const CWindowWnd* window);
    // The created window whose paint manager this is; null for none.
    static CWindowWnd* of_manager(const CPaintManagerUI* manager);
    bool is_created() const { return created_; }
    void show(bool visible = true);
    bool visible() const { return visible_; }
    // Sends kClose; the default processing destroys the window.
    void close();
    // Sends kDestroy and lets the platform window go. Safe to call twice.
    void destroy();

    const std::string& title() const { return title_; }
    CWindowWnd* owner() const { return owner_; }
    // On the screen, in physical pixels.
    const Rect& rect() const { return rect_; }
    // In logical pixels: what the layouts fill.
    Size client_size() const { return client_; }
    // A size in physical pixels is rounded up to whole logical pixels.
    void move(const Rect& rect);
    DisplayScale scale() const { return scale_; }
    // Redraws everything at the new scale, keeping the logical size and the top-left corner.
    void set_scale(DisplayScale scale);
    void center_over(const CWindowWnd* owner, const Rect& work_area);
    void maximize_to_work_area();
    // The platform's, or the one set for headless use.
    Rect work_area() const;
    void set_headless_work_area(const Rect& area) { headless_work_area_ = area; }

    // The opaque rectangles in physical client coordinates; empty for a plain rectangle.
    bool set_shape(std::vector<Rect> opaque);
    const std::vector<Rect>& shape() const { return shape_; }
    // From the left edge plus left to the right edge minus right, top to bottom.
    void set_caption_band(const Rect& band) { caption_band_ = band; }
    const Rect& caption_band() const { return caption_band_; }
    // A point in the caption band drags the window unless a button, option or text is there.
    HitTest hit_test(Point client_point);

    // Messages go to handle_message, then the filters in order, then the default processing,
    // stopping at the first that handles them.
    intptr_t send_message(WindowMessage msg, uintptr_t wparam = 0, intptr_t lparam = 0);
    // Queued for the UI thread; safe from any thread.
    void post_message(WindowMessage msg, uintptr_t wparam = 0, intptr_t lparam = 0);
    void add_message_filter(IMessageFilterUI* filter);
    void remove_message_filter(IMessageFilterUI* filter);

    // Window timers arrive as kTimer with their id; setting an id again restarts it. They keep
    // the rules of control timers (TimerQueue): 0 ms fires as soon as possible, then every 1 ms.
    void set_timer(uintptr_t id, unsigned interval_ms);
    bool kill_timer(uintptr_t id);
    // The earliest of the window's and its controls' timers.
    std::optional<Millis> next_timer_due() const;
    void set_clock(std::function<Millis()> clock);
    Millis now() const { return clock_(); }

    // What the event loop does each time round: posted messages, asynchronous notifications,
    // due timers, then a paint if something is invalid. Returns true if anything happened.
    bool process_pending();
    bool has_pending_work() const;
    // Lays out if needed, draws the invalid region and shows it; returns what was drawn.
    std::vector<Rect> paint_now();

    CPaintManagerUI& manager() { return manager_; }
    Canvas& canvas() { return canvas_; }
    IWindowBackend* backend() const { return backend_.get(); }
    bool headless() const { return backend_ == nullptr; }

    // Called by the backend for what the user did to the platform window (physical pixels).
    void platform_moved(Point top_left);
    void platform_resized(Size physical);
    // The display the window is on has this scale of its own (1.0 at 100 %).
    void platform_scale(double display_factor);
    // The logical size whose physical size covers `physical` at the window's scale.
    Size logical_size(Size physical) const;

  protected:
    // Sees every message first. Set `handled` to stop it here.
    virtual intptr_t handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                                    bool& handled);
    // What happens when nobody handled a message: mostly the paint manager.
    virtual intptr_t default_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam);

  private:
    struct Posted {
        WindowMessage msg;
        uintptr_t wparam;
        intptr_t lparam;
    };
    void wake();
    void tell_frame_observer();
    size_t fire_due_timers(Millis now);

    CPaintManagerUI manager_;
    Canvas canvas_;
    std::unique_ptr<IWindowBackend> backend_;
    std::vector<IMessageFilterUI*> filters_;
    TimerQueue timers_;
    std::function<Millis()> clock_;
    std::string title_;
    CWindowWnd* owner_ = nullptr;
    Rect rect_;
    Size client_;
    DisplayScale scale_;
    Rect headless_work_area_{0, 0, 1920, 1080};
    Rect caption_band_;
    std::vector<Rect> shape_;
    bool created_ = false;
    bool visible_ = false;
    bool destroying_ = false;

    mutable std::mutex posted_mutex_;
    std::vector<Posted> posted_;
};

}  // namespace talvoro::ui
