#include "core/window.h"

#include <algorithm>
#include <utility>

#include "core/button.h"
#include "core/text.h"

namespace talvoro::ui {
namespace {

WindowBackendFactory& backend_factory() {
    static WindowBackendFactory factory;
    return factory;
}

DisplayScale& default_scale() {
    static DisplayScale scale;
    return scale;
}

DisplayScalePolicy& scale_policy() {
    static DisplayScalePolicy policy;
    return policy;
}

FrameObserver& frame_observer() {
    static FrameObserver observer;
    return observer;
}

// Live windows in creation order. UI thread only.
std::vector<CWindowWnd*>& window_list() {
    static std::vector<CWindowWnd*> windows;
    return windows;
}

CWindowWnd::Millis steady_now() {
    return std::chrono::duration_cast<CWindowWnd::Millis>(
        std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace

void set_window_backend_factory(WindowBackendFactory factory) {
    backend_factory() = std::move(factory);
}

void set_default_display_scale(DisplayScale scale) {
    default_scale() = scale;
}

DisplayScale default_display_scale() {
    return default_scale();
}

void set_display_scale_policy(DisplayScalePolicy policy) {
    scale_policy() = std::move(policy);
}

FrameObserver set_frame_observer(FrameObserver observer) {
    return std::exchange(frame_observer(), std::move(observer));
}

CWindowWnd::CWindowWnd() : clock_(steady_now), scale_(default_display_scale()) {
    manager_.set_clock(clock_);
}

CWindowWnd::~CWindowWnd() {
    destroy();
}

bool CWindowWnd::create(CWindowWnd* owner, std::string title, Size client, bool popup) {
    if (created_) {
        return false;
    }
    owner_ = owner;
    title_ = std::move(title);
    client_ = client;
    const Size physical = scale_.to_physical(client);
    rect_ = Rect{0, 0, physical.width, physical.height};
    if (backend_factory()) {
        backend_ = backend_factory()(*this);
    }
    if (popup && owner != nullptr) {
        const Rect area = work_area();
        center_over(owner, area);
    }
    if (backend_ != nullptr && !backend_->create(title_, rect_, owner, popup)) {
        backend_.reset();
        return false;
    }
    created_ = true;
    window_list().push_back(this);
    manager_.set_async_wakeup([this] { wake(); });
    send_message(WindowMessage::kCreate);
    send_message(WindowMessage::kSize, 0, make_point_param(client_.width, client_.height));
    return true;
}

std::vector<CWindowWnd*> CWindowWnd::live_windows() {
    return window_list();
}

bool CWindowWnd::is_live(const CWindowWnd* window) {
    const auto& windows = window_list();
    return window != nullptr && std::find(windows.begin(), windows.end(), window) != windows.end();
}

CWindowWnd* CWindowWnd::of_manager(const CPaintManagerUI* manager) {
    for (CWindowWnd* window : window_list()) {
        if (&window->manager_ == manager) {
            return window;
        }
    }
    return nullptr;
}

void CWindowWnd::show(bool visible) {
    if (!created_) {
        return;
    }
    visible_ = visible;
    if (backend_ != nullptr) {
        backend_->show(visible);
        if (visible) {
            // What was painted while hidden was never shown.
            paint_now();
            backend_->present(canvas_, {canvas_.image().bounds()});
        }
    }
}

void CWindowWnd::close() {
    if (created_) {
        send_message(WindowMessage::kClose);
    }
}

void CWindowWnd::destroy() {
    if (!created_ || destroying_) {
        return;
    }
    destroying_ = true;
    send_message(WindowMessage::kDestroy);
    timers_.clear();
    if (backend_ != nullptr) {
        backend_->destroy();
    }
    auto& windows = window_list();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
    created_ = false;
    visible_ = false;
    destroying_ = false;
}

Size CWindowWnd::logical_size(Size physical) const {
    auto covering = [&](int length) { return length <= 0 ? 0 : scale_.to_logical(length - 1) + 1; };
    return Size{covering(physical.width), covering(physical.height)};
}

void CWindowWnd::move(const Rect& rect) {
    const Size client = logical_size(Size{rect.width(), rect.height()});
    const Size physical = scale_.to_physical(client);
    const bool resized = client.width != client_.width || client.height != client_.height;
    client_ = client;
    const bool placed = backend_ == nullptr || backend_->positions_known();
    const Point at = placed ? Point{rect.left, rect.top} : Point{};
    rect_ = Rect{at.x, at.y, at.x + physical.width, at.y + physical.height};
    if (backend_ != nullptr && created_) {
        backend_->move(rect_);
    }
    if (resized && created_) {
        send_message(WindowMessage::kSize, 0, make_point_param(client_.width, client_.height));
    }
}

void CWindowWnd::set_scale(DisplayScale scale) {
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    const Size physical = scale_.to_physical(client_);
    rect_.right = rect_.left + physical.width;
    rect_.bottom = rect_.top + physical.height;
    if (!created_) {
        return;
    }
    if (backend_ != nullptr) {
        backend_->move(rect_);
    }
    canvas_.resize(client_.width, client_.height, scale_);
    manager_.invalidate_all();
    send_message(WindowMessage::kScaleChanged, static_cast<uintptr_t>(scale_.percent()));
}

void CWindowWnd::center_over(const CWindowWnd* owner, const Rect& work_area) {
    const int width = rect_.width();
    const int height = rect_.height();
    const Rect& over = owner != nullptr ? owner->rect() : work_area;
    int left = over.left + (over.width() - width) / 2;
    int top = over.top + (over.height() - height) / 2;
    // Keep it inside the work area; a window larger than the area keeps its top-left corner there.
    left = std::max(work_area.left, std::min(left, work_area.right - width));
    top = std::max(work_area.top, std::min(top, work_area.bottom - height));
    move(Rect{left, top, left + width, top + height});
}

void CWindowWnd::maximize_to_work_area() {
    move(work_area());
}

Rect CWindowWnd::work_area() const {
    return backend_ != nullptr ? backend_->work_area() : headless_work_area_;
}

bool CWindowWnd::set_shape(std::vector<Rect> opaque) {
    shape_ = std::move(opaque);
    return backend_ == nullptr || backend_->set_shape(shape_);
}

CWindowWnd::HitTest CWindowWnd::hit_test(Point p) {
    const Size client = manager_.client_size();
    const Rect band{caption_band_.left, caption_band_.top, client.width - caption_band_.right,
                    caption_band_.bottom};
    if (!band.contains(p)) {
        return HitTest::kClient;
    }
    if (manager_.needs_layout()) {
        manager_.update_layout();
        tell_frame_observer();
    }
    CControlUI* control = manager_.find_control_at(p);
    // Buttons (options included) and texts take their own clicks.
    if (dynamic_cast<CButtonUI*>(control) != nullptr ||
        dynamic_cast<CTextUI*>(control) != nullptr) {
        return HitTest::kClient;
    }
    return HitTest::kCaption;
}

intptr_t CWindowWnd::send_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
    bool handled = false;
    intptr_t result = handle_message(msg, wparam, lparam, handled);
    if (handled) {
        return result;
    }
    // A filter may remove itself while handling; work on a copy.
    const std::vector<IMessageFilterUI*> filters = filters_;
    for (IMessageFilterUI* filter : filters) {
        result = filter->message_handler(msg, wparam, lparam, handled);
        if (handled) {
            return result;
        }
    }
    return default_message(msg, wparam, lparam);
}

void CWindowWnd::post_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
    {
        std::lock_guard lock(posted_mutex_);
        posted_.push_back(Posted{msg, wparam, lparam});
    }
    wake();
}

void CWindowWnd::add_message_filter(IMessageFilterUI* filter) {
    if (filter != nullptr &&
        std::find(filters_.begin(), filters_.end(), filter) == filters_.end()) {
        filters_.push_back(filter);
    }
}

void CWindowWnd::remove_message_filter(IMessageFilterUI* filter) {
    filters_.erase(std::remove(filters_.begin(), filters_.end(), filter), filters_.end());
}

void CWindowWnd::set_timer(uintptr_t id, unsigned interval_ms) {
    timers_.set(this, id, Millis{interval_ms}, now());
    // Even a restart: the loop may be asleep until a later due.
    wake();
}

bool CWindowWnd::kill_timer(uintptr_t id) {
    return timers_.kill(this, id);
}

std::optional<CWindowWnd::Millis> CWindowWnd::next_timer_due() const {
    const std::optional<Millis> mine = timers_.next_due();
    const std::optional<Millis> controls = manager_.next_timer_due();
    if (mine && controls) {
        return std::min(*mine, *controls);
    }
    return mine ? mine : controls;
}

void CWindowWnd::set_clock(std::function<Millis()> clock) {
    clock_ = std::move(clock);
    manager_.set_clock(clock_);
}

size_t CWindowWnd::fire_due_timers(Millis at) {
    size_t fired = 0;
    for (const TimerQueue::Ticket& ticket : timers_.collect_due(at)) {
        // A handler may have killed or re-set this one, or destroyed the window, meanwhile.
        if (created_ && timers_.armed(ticket)) {
            send_message(WindowMessage::kTimer, ticket.id);
            ++fired;
        }
    }
    if (created_) {
        fired += manager_.fire_due_timers(at);
    }
    return fired;
}

bool CWindowWnd::process_pending() {
    if (!created_) {
        return false;
    }
    bool did = false;
    std::vector<Posted> batch;
    {
        std::lock_guard lock(posted_mutex_);
        batch.swap(posted_);
    }
    for (const Posted& posted : batch) {
        if (!created_) {
            return true;
        }
        send_message(posted.msg, posted.wparam, posted.lparam);
        did = true;
    }
    if (manager_.drain_async() > 0) {
        did = true;
    }
    if (created_ && fire_due_timers(now()) > 0) {
        did = true;
    }
    if (created_ && (manager_.needs_layout() || !manager_.invalid_region().empty())) {
        send_message(WindowMessage::kPaint);
        did = true;
    }
    return did;
}

bool CWindowWnd::has_pending_work() const {
    if (!created_) {
        return false;
    }
    {
        std::lock_guard lock(posted_mutex_);
        if (!posted_.empty()) {
            return true;
        }
    }
    if (manager_.has_pending_async() || manager_.needs_layout() ||
        !manager_.invalid_region().empty()) {
        return true;
    }
    const auto due = next_timer_due();
    return due && *due <= now();
}

std::vector<Rect> CWindowWnd::paint_now() {
    if (!created_) {
        return {};
    }
    const bool laying_out = manager_.needs_layout();
    if (laying_out) {
        manager_.update_layout();
    }
    std::vector<Rect> drawn = manager_.paint(canvas_);
    if (backend_ != nullptr && visible_ && !drawn.empty()) {
        std::vector<Rect> physical;
        physical.reserve(drawn.size());
        for (const Rect& r : drawn) {
            physical.push_back(scale_.to_physical(r));
        }
        backend_->present(canvas_, physical);
    }
    // After the frame has gone to the display, with everything asked of it before (a popup's
    // window destroyed): whoever reads the dump and clicks finds the screen as it says. States
    // without a layout pass (a selection, a text) count too.
    if (laying_out || !drawn.empty()) {
        tell_frame_observer();
    }
    return drawn;
}

void CWindowWnd::platform_moved(Point top_left) {
    rect_ = rect_.offset(top_left.x - rect_.left, top_left.y - rect_.top);
    send_message(WindowMessage::kMove, 0, make_point_param(top_left.x, top_left.y));
}

void CWindowWnd::platform_scale(double display_factor) {
    if (const DisplayScalePolicy& policy = scale_policy()) {
        set_scale(policy(display_factor));
    } else if (const auto scale = DisplayScale::nearest(display_factor)) {
        set_scale(*scale);
    }
}

void CWindowWnd::platform_resized(Size physical) {
    if (physical.width == rect_.width() && physical.height == rect_.height()) {
        return;
    }
    rect_.right = rect_.left + physical.width;
    rect_.bottom = rect_.top + physical.height;
    const Size client = logical_size(physical);
    if (client.width == client_.width && client.height == client_.height) {
        return;
    }
    client_ = client;
    send_message(WindowMessage::kSize, 0, make_point_param(client.width, client.height));
}

intptr_t CWindowWnd::handle_message(WindowMessage, uintptr_t, intptr_t, bool& handled) {
    handled = false;
    return 0;
}

intptr_t CWindowWnd::default_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
    const Point p = point_from_param(lparam);
    switch (msg) {
        case WindowMessage::kClose:
            destroy();
            break;
        case WindowMessage::kMouseMove:
            manager_.mouse_move(p.x, p.y);
            break;
        case WindowMessage::kButtonDown:
        case WindowMessage::kDoubleClick:
            if (wparam == 1) {
                manager_.mouse_down(p.x, p.y);
            }
            break;
        case WindowMessage::kButtonUp:
            if (wparam == 1) {
                manager_.mouse_up(p.x, p.y);
            }
            break;
        case WindowMessage::kKeyDown:
            manager_.key_down(
                static_cast<int>(wparam),
                KeyModifiers{(lparam & kKeyShiftFlag) != 0, (lparam & kKeyControlFlag) != 0,
                             (lparam & kKeyAltFlag) != 0});
            break;
        case WindowMessage::kMouseWheel:
            manager_.mouse_wheel(p.x, p.y, wheel_notches(wparam));
            break;
        case WindowMessage::kTextInput:
            if (lparam != 0) {
                manager_.text_input(*reinterpret_cast<const std::string*>(lparam));
            }
            break;
        case WindowMessage::kSize:
            canvas_.resize(p.x, p.y, scale_);
            manager_.set_client_size(Size{p.x, p.y});
            manager_.invalidate_all();
            break;
        case WindowMessage::kPaint:
            paint_now();
            break;
        default:
            break;
    }
    return 0;
}

void CWindowWnd::wake() {
    if (backend_ != nullptr) {
        backend_->wake();
    }
}

void CWindowWnd::tell_frame_observer() {
    if (const FrameObserver& observer = frame_observer()) {
        observer(*this);
    }
}

}  // namespace talvoro::ui
