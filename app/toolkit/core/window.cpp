#include "core/window.h"

#include "core/option.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "core/button.h"
#include "core/combo_drop.h"
#include "core/menu.h"
#include "core/option.h"
#include "core/text.h"
#include "render/png_writer.h"

namespace talvoro::ui {
namespace {

WindowBackendFactory& backend_factory() {
    static WindowBackendFactory factory;
    return factory;
}

// Live windows in creation order, for the layout dump. UI thread only.
std::vector<CWindowWnd*>& window_list() {
    static std::vector<CWindowWnd*> windows;
    return windows;
}

CWindowWnd::Millis steady_now() {
    return std::chrono::duration_cast<CWindowWnd::Millis>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void append_json_string(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += c;  // UTF-8 passes through as it is valid JSON text
                }
        }
    }
    out += '"';
}

void append_rect(std::string& out, const Rect& r) {
    out += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
           std::to_string(r.right) + ',' + std::to_string(r.bottom) + ']';
}

// Hidden when it or any parent is hidden.
bool shown(const CControlUI& control) {
    for (const CControlUI* c = &control; c != nullptr; c = c->parent()) {
        if (!c->visible()) {
            return false;
        }
    }
    return true;
}

}  // namespace

void set_window_backend_factory(WindowBackendFactory factory) {
    backend_factory() = std::move(factory);
}

CWindowWnd::CWindowWnd() : clock_(steady_now) {
    manager_.set_clock(clock_);
}

CWindowWnd::~CWindowWnd() {
    destroy();
}

bool CWindowWnd::create(CWindowWnd* owner, std::string title, const Rect& rect, bool popup) {
    if (created_) {
        return false;
    }
    owner_ = owner;
    title_ = std::move(title);
    rect_ = rect;
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
    send_message(WindowMessage::kSize, 0, make_point_param(rect_.width(), rect_.height()));
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
            backend_->present(canvas_, {canvas_.bounds()});
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

void CWindowWnd::move(const Rect& rect) {
    const bool resized = rect.width() != rect_.width() || rect.height() != rect_.height();
    rect_ = rect;
    if (backend_ != nullptr && created_) {
        backend_->move(rect_);
    }
    if (resized && created_) {
        send_message(WindowMessage::kSize, 0, make_point_param(rect_.width(), rect_.height()));
    }
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
        write_ui_dump();
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
        backend_->present(canvas_, drawn);
    }
    // After the frame has gone to the display, with everything asked of it before (a popup's
    // window destroyed): whoever reads the dump and clicks finds the screen as it says. States
    // without a layout pass (a selection, a text) show in the dump too.
    if (laying_out || !drawn.empty()) {
        write_ui_dump();
    }
    return drawn;
}

bool CWindowWnd::click_control(std::string_view name) {
    if (!created_) {
        return false;
    }
    if (manager_.needs_layout()) {
        paint_now();
    }
    const CControlUI* control = manager_.find_control(name);
    if (control == nullptr || !shown(*control) || control->pos().empty()) {
        return false;
    }
    const Rect& pos = control->pos();
    const intptr_t at = make_point_param(pos.left + pos.width() / 2, pos.top + pos.height() / 2);
    send_message(WindowMessage::kMouseMove, 0, at);
    send_message(WindowMessage::kButtonDown, 1, at);
    send_message(WindowMessage::kButtonUp, 1, at);
    return true;
}

void CWindowWnd::type_text(std::string_view utf8) {
    const std::string text(utf8);
    send_message(WindowMessage::kTextInput, 0, reinterpret_cast<intptr_t>(&text));
}

void CWindowWnd::press_key(int virtual_key) {
    send_message(WindowMessage::kKeyDown, static_cast<uintptr_t>(virtual_key));
    send_message(WindowMessage::kKeyUp, static_cast<uintptr_t>(virtual_key));
}

bool CWindowWnd::snapshot_png(const std::string& path) {
    paint_now();
    return write_png(canvas_.image(), path);
}

void CWindowWnd::platform_moved(Point top_left) {
    rect_ = rect_.offset(top_left.x - rect_.left, top_left.y - rect_.top);
    send_message(WindowMessage::kMove, 0, make_point_param(top_left.x, top_left.y));
}

void CWindowWnd::platform_resized(Size client) {
    if (client.width == rect_.width() && client.height == rect_.height()) {
        return;
    }
    rect_.right = rect_.left + client.width;
    rect_.bottom = rect_.top + client.height;
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
            manager_.key_down(static_cast<int>(wparam));
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
            canvas_.resize(p.x, p.y);
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

void CWindowWnd::write_ui_dump() {
    const char* path = std::getenv("TALVORO_UI_DUMP");
    if (path != nullptr && *path != '\0') {
        ::talvoro::ui::write_ui_dump(path);
    }
}

namespace {

// Every overlay of kind T of every live window, with its window.
template <typename T, typename Visit>
void for_each_overlay(Visit visit) {
    for (CWindowWnd* window : window_list()) {
        const CPaintManagerUI& manager = window->manager();
        for (size_t i = 0; i < manager.overlay_count(); ++i) {
            if (auto* overlay = dynamic_cast<T*>(manager.overlay(i))) {
                visit(*window, *overlay);
            }
        }
    }
}

// The entries of every menu a window shows (a menu and the submenus open from it), for tools
// that click them: "menu" is the depth in the chain, 0 for the menu itself. Separators are left
// out; nothing happens on them.
void append_menu_entries(std::string& out) {
    out += ",\"menu_entries\":[";
    bool first = true;
    for_each_overlay<const CMenuUI>([&](CWindowWnd& window, const CMenuUI& menu) {
        const Rect& at = window.rect();
        int depth = 0;
        for (const CMenuUI* m = menu.parent_menu(); m != nullptr; m = m->parent_menu()) {
            ++depth;
        }
        for (int j = 0; j < menu.count(); ++j) {
            const auto* entry = dynamic_cast<const CMenuElementUI*>(menu.item_at(j));
            if (entry == nullptr || entry->is_separator() || !entry->visible()) {
                continue;
            }
            out += first ? "\n" : ",\n";
            first = false;
            out += "{\"window\":";
            append_json_string(out, window.title());
            out += ",\"menu\":" + std::to_string(depth);
            out += ",\"text\":";
            append_json_string(out, entry->text());
            out += ",\"rect\":";
            append_rect(out, entry->pos().offset(at.left, at.top));
            out += ",\"command\":" + std::to_string(entry->command());
            out += entry->has_submenu() ? ",\"submenu\":true}" : ",\"submenu\":false}";
        }
    });
    out += "\n]";
}

// The items of an open drop-down list, in order, for tools that choose from a combo as a person
// does: "index" is the item's position in its combo.
void append_drop_items(std::string& out) {
    out += ",\"drop_items\":[";
    bool first = true;
    for_each_overlay<CComboDropUI>([&](CWindowWnd& window, CComboDropUI& drop) {
        const Rect& at = window.rect();
        int index = 0;
        drop.for_each([&](CControlUI& item) {
            if (&item == &drop) {
                return;
            }
            out += first ? "\n" : ",\n";
            first = false;
            out += "{\"window\":";
            append_json_string(out, window.title());
            out += ",\"index\":" + std::to_string(index++);
            out += ",\"text\":";
            append_json_string(out, item.text());
            out += ",\"rect\":";
            append_rect(out, item.pos().offset(at.left, at.top));
            out += "}";
        });
    });
    out += "\n]";
}

}  // namespace

bool write_ui_dump(const std::string& path) {
    std::string out = "{\"controls\":[";
    bool first = true;
    for (CWindowWnd* window : window_list()) {
        const Rect& at = window->rect();
        window->manager().for_each_control([&](CControlUI& control) {
            if (control.name().empty()) {
                return;
            }
            out += first ? "\n" : ",\n";
            first = false;
            out += "{\"window\":";
            append_json_string(out, window->title());
            out += ",\"name\":";
            append_json_string(out, control.name());
            out += ",\"rect\":";
            append_rect(out, control.pos().offset(at.left, at.top));
            out += ",\"visible\":";
            out += shown(control) ? "true" : "false";
            out += ",\"text\":";
            append_json_string(out, control.text());
            if (const auto* option = dynamic_cast<const COptionUI*>(&control)) {
                out += option->is_selected() ? ",\"selected\":true" : ",\"selected\":false";
            }
            out += '}';
        });
    }
    out += "\n]";
    append_menu_entries(out);
    append_drop_items(out);
    out += "}\n";
    // Readers never see half a file.
    const std::string temp = path + ".tmp";
    {
        std::ofstream file(temp, std::ios::binary | std::ios::trunc);
        if (!file || !file.write(out.data(), static_cast<std::streamsize>(out.size()))) {
            return false;
        }
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace talvoro::ui
