#include "core/paint_manager.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "core/button.h"
#include "core/step_round.h"

namespace talvoro::ui {
namespace {

CPaintManagerUI::Millis steady_now() {
    return std::chrono::duration_cast<CPaintManagerUI::Millis>(
        std::chrono::steady_clock::now().time_since_epoch());
}

// The keys' focus ring: the accent colour, two pixels inside the focused control.
constexpr Color kFocusRingColor{0xFF, 0xFF, 0x3C, 0x3C};
constexpr int kFocusRingWidth = 2;

// Shown where it stands: itself and every container it is in.
bool shown_in_window(const CControlUI& control) {
    for (const CControlUI* at = &control; at != nullptr; at = at->parent()) {
        if (!at->visible()) {
            return false;
        }
    }
    return true;
}

bool is_within(const CControlUI* control, const CControlUI* ancestor) {
    for (; control != nullptr; control = control->parent()) {
        if (control == ancestor) {
            return true;
        }
    }
    return false;
}

// Every live manager, for changes that concern all windows. The toolkit runs
// on the UI thread only.
std::vector<CPaintManagerUI*>& live_managers() {
    static std::vector<CPaintManagerUI*> managers;
    return managers;
}

// The skin folder of windows to come.
std::string& resource_folder() {
    static std::string folder;
    return folder;
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() : images_(resource_folder()), clock_(steady_now) {
    live_managers().push_back(this);
}

void CPaintManagerUI::set_resource_path(const std::string& skin_folder) {
    resource_folder() = skin_folder;
}

const std::string& CPaintManagerUI::resource_path() {
    return resource_folder();
}

void CPaintManagerUI::reload_all_images(const std::string& skin_folder) {
    resource_folder() = skin_folder;
    for (CPaintManagerUI* manager : live_managers()) {
        manager->images_.set_base_folder(skin_folder);
        manager->images_.reload_all();
        manager->invalidate_all();
    }
}

CPaintManagerUI::~CPaintManagerUI() {
    std::erase(live_managers(), this);
    // Overlays go first and unannounced: controls of the tree may still ask about them.
    overlays_.clear();
    closed_overlays_.clear();
    root_.reset();
}

void CPaintManagerUI::set_root(std::unique_ptr<CControlUI> root) {
    if (root_) {
        forget(root_.get());
    }
    root_ = std::move(root);
    if (root_) {
        root_->set_manager(this, nullptr);
    }
    needs_layout_ = true;
    invalidate_all();
}

void CPaintManagerUI::set_client_size(Size size) {
    client_size_ = Size{std::max(size.width, 0), std::max(size.height, 0)};
    needs_layout_ = true;
    invalid_.clear();
    invalidate_all();
}

void CPaintManagerUI::set_window_attribute(std::string_view name, std::string_view value) {
    window_attributes_[std::string(name)] = std::string(value);
}

std::optional<std::string> CPaintManagerUI::window_attribute(std::string_view name) const {
    auto it = window_attributes_.find(name);
    if (it == window_attributes_.end()) {
        return std::nullopt;
    }
    return it->second;
}

CControlUI* CPaintManagerUI::find_control(std::string_view name) const {
    if (name.empty() || !root_) {
        return nullptr;
    }
    CControlUI* found = nullptr;
    root_->for_each([&](CControlUI& control) {
        if (found == nullptr && control.name() == name) {
            found = &control;
        }
    });
    return found;
}

CControlUI* CPaintManagerUI::find_control_at(Point point) {
    if (needs_layout_) {
        update_layout();
    }
    // An open popup hides everything under it, and keeps the tree from the pointer.
    for (auto it = overlays_.rbegin(); it != overlays_.rend(); ++it) {
        if (it->control->pos().contains(point)) {
            return it->control->find_control_at(point);
        }
    }
    if (!overlays_.empty()) {
        return nullptr;
    }
    return root_ ? root_->find_control_at(point) : nullptr;
}

void CPaintManagerUI::for_each_control(const std::function<void(CControlUI&)>& visit) {
    if (root_) {
        root_->for_each(visit);
    }
}

int CPaintManagerUI::add_font(const FontStyle& font, bool make_default) {
    fonts_.push_back(font);
    int index = static_cast<int>(fonts_.size()) - 1;
    if (make_default) {
        default_font_ = index;
    }
    invalidate_all();
    return index;
}

bool CPaintManagerUI::set_default_font(int index) {
    if (index < 0 || index >= static_cast<int>(fonts_.size())) {
        return false;
    }
    default_font_ = index;
    // Text without its own font is measured anew.
    need_update();
    invalidate_all();
    return true;
}

int CPaintManagerUI::default_font() const {
    return default_font_;
}

const FontStyle& CPaintManagerUI::font(int index) const {
    static const FontStyle kNone{{}, 0};  // the text renderer's own default
    if (index >= 0 && index < static_cast<int>(fonts_.size())) {
        return fonts_[index];
    }
    if (default_font_ >= 0) {
        return fonts_[default_font_];
    }
    return kNone;
}

void CPaintManagerUI::add_notifier(INotifyUI* notifier) {
    if (notifier != nullptr &&
        std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) {
        notifiers_.push_back(notifier);
    }
}

void CPaintManagerUI::remove_notifier(INotifyUI* notifier) {
    std::erase(notifiers_, notifier);
}

void CPaintManagerUI::send_notify(CControlUI* control, std::string_view type, uintptr_t wparam,
                                  intptr_t lparam, bool async) {
    TNotifyUI msg{std::string(type), control, wparam, lparam, last_point_};
    if (async) {
        async_queue_.push_back(std::move(msg));
        if (async_wakeup_) {
            async_wakeup_();
        }
        return;
    }
    deliver(msg);
}

void CPaintManagerUI::deliver(TNotifyUI& msg) {
    // A notifier may add or remove notifiers while it is told.
    std::vector<INotifyUI*> listeners = notifiers_;
    for (INotifyUI* listener : listeners) {
        if (std::find(notifiers_.begin(), notifiers_.end(), listener) != notifiers_.end()) {
            listener->notify(msg);
        }
    }
}

size_t CPaintManagerUI::drain_async() {
    std::vector<TNotifyUI> batch;
    batch.swap(async_queue_);
    size_t delivered = 0;
    for (size_t i = 0; i < batch.size(); ++i) {
        deliver(batch[i]);
        ++delivered;
    }
    return delivered;
}

bool CPaintManagerUI::set_timer(CControlUI* control, uintptr_t id, unsigned interval_ms) {
    if (control == nullptr) {
        return false;
    }
    timers_.set(control, id, Millis{interval_ms}, now());
    if (async_wakeup_) {
        async_wakeup_();
    }
    return true;
}

bool CPaintManagerUI::kill_timer(CControlUI* control, uintptr_t id) {
    return timers_.kill(control, id);
}

size_t CPaintManagerUI::fire_due_timers(Millis at) {
    size_t fired = 0;
    for (const TimerQueue::Ticket& ticket : timers_.collect_due(at)) {
        // An earlier handler may have killed or re-set it, or removed its control.
        if (!timers_.armed(ticket)) {
            continue;
        }
        auto* control = const_cast<CControlUI*>(static_cast<const CControlUI*>(ticket.owner));
        ControlEvent event{EventType::kTimer, last_point_, ticket.id, 0, {}, {}};
        control->do_event(event);
        ++fired;
    }
    return fired;
}

void CPaintManagerUI::set_focus(CControlUI* control) {
    if (control == focus_) {
        return;
    }
    CControlUI* old = focus_;
    focus_ = control;
    if (keyboard_used_) {
        // The ring moves.
        if (old != nullptr) {
            invalidate(old->pos());
        }
        if (control != nullptr) {
            invalidate(control->pos());
        }
    }
    if (old != nullptr) {
        send_event(old, EventType::kKillFocus, last_point_);
    }
    if (focus_ != nullptr) {
        send_event(focus_, EventType::kSetFocus, last_point_);
    }
}

void CPaintManagerUI::invalidate(const Rect& rect) {
    Rect area = rect.intersect(Rect{0, 0, client_size_.width, client_size_.height});
    if (area.empty()) {
        return;
    }
    for (const Rect& existing : invalid_) {
        if (existing.intersect(area) == area) {
            return;
        }
    }
    std::erase_if(invalid_, [&](const Rect& r) { return area.intersect(r) == r; });
    invalid_.push_back(area);
    // Many small rectangles cost more to walk than one union redraws.
    constexpr size_t kMaxRects = 32;
    if (invalid_.size() > kMaxRects) {
        Rect all;
        for (const Rect& r : invalid_) {
            all = all.unite(r);
        }
        invalid_.assign(1, all);
    }
}

std::vector<Rect> CPaintManagerUI::paint(Canvas& canvas) {
    if (needs_layout_) {
        update_layout();
    }
    release_closed_overlays();
    std::vector<Rect> painted;
    painted.swap(invalid_);
    for (const Rect& rect : painted) {
        ClipScope clip(canvas, rect);
        canvas.clear(rect);
        if (root_ && root_->visible()) {
            root_->do_paint(canvas, rect);
        }
        paint_focus_ring(canvas, rect);
        for (const Overlay& overlay : overlays_) {
            if (overlay.control->visible()) {
                overlay.control->do_paint(canvas, rect);
            }
        }
    }
    return painted;
}

void CPaintManagerUI::paint_focus_ring(Canvas& canvas, const Rect& dirty) {
    if (!keyboard_used_ || focus_ == nullptr || !shown_in_window(*focus_) ||
        focus_->pos().intersect(dirty).empty()) {
        return;
    }
    // Inside the control's own rectangle, which every container it is in holds whole: never
    // cut off by one.
    canvas.draw_border(focus_->pos(), kFocusRingColor, kFocusRingWidth);
}

void CPaintManagerUI::update_layout() {
    needs_layout_ = false;
    if (root_) {
        Rect client{0, 0, client_size_.width, client_size_.height};
        // Containers lay out their children again even when their own position is unchanged.
        root_->set_pos(client);
    }
    // Positions may have moved anywhere; the layout pass itself may ask again.
    needs_layout_ = false;
    invalidate_all();
}

void CPaintManagerUI::send_event(CControlUI* control, EventType type, Point point) {
    ControlEvent event{type, point, 0, 0, {}, {}};
    control->do_event(event);
}

void CPaintManagerUI::update_hover(Point point) {
    CControlUI* now_under = find_control_at(point);
    if (now_under == hover_) {
        return;
    }
    CControlUI* old = hover_;
    hover_ = now_under;
    if (old != nullptr) {
        send_event(old, EventType::kMouseLeave, point);
    }
    if (hover_ != nullptr) {
        send_event(hover_, EventType::kMouseEnter, point);
    }
}

void CPaintManagerUI::mouse_move(int x, int y) {
    last_point_ = Point{x, y};
    if (capture_ != nullptr) {
        send_event(capture_, EventType::kMouseMove, last_point_);
        return;
    }
    update_hover(last_point_);
    if (hover_ != nullptr) {
        send_event(hover_, EventType::kMouseMove, last_point_);
    }
    release_closed_overlays();
}

void CPaintManagerUI::mouse_down(int x, int y) {
    last_point_ = Point{x, y};
    bool on_overlay = overlay_contains(last_point_);
    if (!overlays_.empty() && !on_overlay) {
        // The press only dismisses the popups, as a click beside a menu does.
        close_all_overlays();
        update_hover(last_point_);
        release_closed_overlays();
        return;
    }
    update_hover(last_point_);
    if (keyboard_used_) {
        // A click puts the keys' focus ring away until a key is used again.
        keyboard_used_ = false;
        if (focus_ != nullptr) {
            invalidate(focus_->pos());
        }
    }
    CControlUI* target = hover_;
    if (target == nullptr) {
        return;
    }
    capture_ = target;
    // Popups do not take the focus from the control that opened them. A click on a part of a
    // control that takes keys (a list's row) focuses that control, so its keys go on there.
    if (!on_overlay) {
        CControlUI* focus = target;
        while (focus != nullptr && !can_focus(*focus)) {
            focus = focus->parent();
        }
        set_focus(focus != nullptr ? focus : target);
    }
    // The focus handlers may have removed it.
    if (capture_ != nullptr) {
        send_event(capture_, EventType::kButtonDown, last_point_);
    }
    release_closed_overlays();
}

void CPaintManagerUI::mouse_up(int x, int y) {
    last_point_ = Point{x, y};
    CControlUI* target = capture_ != nullptr ? capture_ : find_control_at(last_point_);
    capture_ = nullptr;
    if (target != nullptr) {
        send_event(target, EventType::kButtonUp, last_point_);
    }
    update_hover(last_point_);
    release_closed_overlays();
}

void CPaintManagerUI::key_down(int key, KeyModifiers modifiers) {
    if (key == kKeyEscape && !overlays_.empty()) {
        close_top_overlay();
        release_closed_overlays();
        return;
    }
    if (!keyboard_used_ && focus_ != nullptr) {
        invalidate(focus_->pos());  // its ring appears
    }
    keyboard_used_ = true;
    if (!overlays_.empty()) {
        // A menu or a drop-down list over the window takes the keys while it is up.
        ControlEvent event{EventType::kKeyDown, last_point_, 0, key, modifiers, {}};
        overlays_.back().control->do_event(event);
        release_closed_overlays();
        return;
    }
    if (key == kKeyTab && !modifiers.control && !modifiers.alt) {
        if (CControlUI* next = next_focus(!modifiers.shift)) {
            set_focus(next);
        }
        return;
    }
    if (focus_ != nullptr) {
        ControlEvent event{EventType::kKeyDown, last_point_, 0, key, modifiers, {}};
        focus_->do_event(event);
    }
}

bool CPaintManagerUI::can_focus(const CControlUI& control) const {
    return control.takes_keyboard_focus() && control.enabled() && shown_in_window(control);
}

bool CPaintManagerUI::keys_on_button() const {
    return keyboard_used_ && dynamic_cast<const CButtonUI*>(focus_) != nullptr;
}

CControlUI* CPaintManagerUI::next_focus(bool forwards) const {
    if (!root_) {
        return nullptr;
    }
    std::vector<CControlUI*> stops;
    root_->for_each([&](CControlUI& control) {
        if (can_focus(control)) {
            stops.push_back(&control);
        }
    });
    return step_round(stops, focus_, forwards);
}

void CPaintManagerUI::text_input(std::string_view utf8) {
    if (focus_ != nullptr) {
        ControlEvent event{EventType::kTextInput, last_point_, 0, 0, {}, std::string(utf8)};
        focus_->do_event(event);
    }
}

bool CPaintManagerUI::mouse_wheel(int x, int y, int notches) {
    last_point_ = Point{x, y};
    ControlEvent event;
    event.type = EventType::kScrollWheel;
    event.point = last_point_;
    event.notches = notches;
    for (CControlUI* control = find_control_at(last_point_); control != nullptr;
         control = control->parent()) {
        control->do_event(event);
        if (event.handled) {
            return true;
        }
    }
    return false;
}

void CPaintManagerUI::forget(CControlUI* control) {
    if (control == nullptr) {
        return;
    }
    if (is_within(focus_, control)) {
        focus_ = nullptr;
    }
    if (is_within(hover_, control)) {
        hover_ = nullptr;
    }
    if (is_within(capture_, control)) {
        capture_ = nullptr;
    }
    timers_.kill_owners([&](const void* owner) {
        return is_within(static_cast<const CControlUI*>(owner), control);
    });
    std::erase_if(async_queue_,
                  [&](const TNotifyUI& msg) { return is_within(msg.sender, control); });
}

}  // namespace talvoro::ui

namespace talvoro::ui {

CControlUI* CPaintManagerUI::open_overlay(std::unique_ptr<CControlUI> overlay, const Rect& pos,
                                          OverlayClosed on_closed) {
    if (!overlay) {
        return nullptr;
    }
    CControlUI* raw = overlay.get();
    raw->set_manager(this, nullptr);
    overlays_.push_back(Overlay{std::move(overlay), std::move(on_closed)});
    raw->set_pos(pos);
    invalidate(pos);
    return raw;
}

bool CPaintManagerUI::close_overlay(CControlUI* overlay) {
    auto it = std::find_if(overlays_.begin(), overlays_.end(),
                           [overlay](const Overlay& o) { return o.control.get() == overlay; });
    if (it == overlays_.end()) {
        return false;
    }
    size_t keep = static_cast<size_t>(it - overlays_.begin());
    while (overlays_.size() > keep) {
        close_top_overlay();
    }
    return true;
}

void CPaintManagerUI::close_all_overlays() {
    // Only the ones open now: a closing handler may open a new popup, which stays.
    std::vector<CControlUI*> open;
    for (const Overlay& overlay : overlays_) {
        open.push_back(overlay.control.get());
    }
    for (auto it = open.rbegin(); it != open.rend(); ++it) {
        close_overlay(*it);
    }
}

CControlUI* CPaintManagerUI::overlay(size_t index) const {
    return index < overlays_.size() ? overlays_[index].control.get() : nullptr;
}

bool CPaintManagerUI::overlay_contains(Point point) const {
    return std::any_of(overlays_.begin(), overlays_.end(),
                       [point](const Overlay& o) { return o.control->pos().contains(point); });
}

void CPaintManagerUI::close_top_overlay() {
    Overlay top = std::move(overlays_.back());
    overlays_.pop_back();
    invalidate(top.control->pos());
    // An overlay may show controls owned elsewhere (a combo's items), so what it holds is
    // found by visiting it rather than by parent links.
    std::unordered_set<const CControlUI*> inside;
    top.control->for_each([&](CControlUI& c) { inside.insert(&c); });
    if (inside.contains(focus_)) {
        focus_ = nullptr;
    }
    if (inside.contains(hover_)) {
        hover_ = nullptr;
    }
    if (inside.contains(capture_)) {
        capture_ = nullptr;
    }
    timers_.kill_owners(
        [&](const void* owner) { return inside.contains(static_cast<const CControlUI*>(owner)); });
    if (top.on_closed) {
        top.on_closed(top.control);
    }
    if (top.control) {
        closed_overlays_.push_back(std::move(top.control));
    }
}

void CPaintManagerUI::add_command_handler(ICommandHandlerUI* handler) {
    if (handler != nullptr && std::find(command_handlers_.begin(), command_handlers_.end(),
                                        handler) == command_handlers_.end()) {
        command_handlers_.push_back(handler);
    }
}

void CPaintManagerUI::remove_command_handler(ICommandHandlerUI* handler) {
    std::erase(command_handlers_, handler);
}

void CPaintManagerUI::send_command(int id) {
    // A handler may add or remove handlers while it is told.
    std::vector<ICommandHandlerUI*> handlers = command_handlers_;
    for (ICommandHandlerUI* handler : handlers) {
        if (std::find(command_handlers_.begin(), command_handlers_.end(), handler) !=
            command_handlers_.end()) {
            handler->on_command(id);
        }
    }
}

}  // namespace talvoro::ui
