#include "shell/popups/popup_window.h"

#include <algorithm>

#include "core/attribute_values.h"
#include "core/dialog_builder.h"
#include "layouts/layout_table.h"
#include "platform/program_paths.h"
#include "shell/language/language.h"
#include "shell/popups/rounded_shape.h"

namespace talvoro::shell {
namespace {

// Every popup object that exists, oldest first. UI thread only.
std::vector<PopupWindow*>& registry() {
    static std::vector<PopupWindow*> popups;
    return popups;
}

// Popups whose window went while the object could not free itself (taken down by a plain
// destroy(), or closed from a notification its own window's queue delivered): freed the next
// time a popup opens, when none of their code can still be running.
std::vector<PopupWindow*>& orphans() {
    static std::vector<PopupWindow*> popups;
    return popups;
}

uint64_t next_serial = 1;

// Whether the control is still part of the window, without touching the control itself.
bool in_window(ui::CWindowWnd& window, const ui::CControlUI* control) {
    bool found = false;
    window.manager().for_each_control(
        [&](ui::CControlUI& candidate) { found = found || &candidate == control; });
    return found;
}

}  // namespace

PopupWindow::PopupWindow(ui::CControlUI* owner) : owner_(owner), serial_(next_serial++) {
    registry().push_back(this);
}

PopupWindow::~PopupWindow() {
    deleting_ = true;
    // While the object is still whole, so that the end of the window runs the popup's own part.
    destroy();
    std::erase(registry(), this);
    std::erase(orphans(), this);
}

ui::CWindowWnd* PopupWindow::owner_window() const {
    return ui::CWindowWnd::is_live(owner_window_) ? owner_window_ : nullptr;
}

ui::CControlUI* PopupWindow::owner_control() const {
    ui::CWindowWnd* window = owner_window();
    return window != nullptr && owner_ != nullptr && in_window(*window, owner_) ? owner_ : nullptr;
}

ui::CControlUI* PopupWindow::control(std::string_view name) {
    return manager().find_control(name);
}

std::vector<PopupWindow*> PopupWindow::live_popups() {
    return registry();
}

PopupWindow* PopupWindow::find_popup(uint64_t serial) {
    for (PopupWindow* popup : registry()) {
        if (popup->serial_ == serial) {
            return popup;
        }
    }
    return nullptr;
}

std::string PopupWindow::skin_folder() {
    return skin_folder_path(language_index());
}

bool PopupWindow::open_over_owner(const Frame& frame) {
    release_orphans();
    if (owner_ == nullptr || owner_->manager() == nullptr) {
        return false;
    }
    owner_window_ = ui::CWindowWnd::of_manager(owner_->manager());
    if (owner_window_ == nullptr) {
        return false;
    }
    manager().image_cache().set_base_folder(skin_folder());
    ui::CDialogBuilder builder;
    std::unique_ptr<ui::CControlUI> root = builder.create_from_file(
        layouts::layout_path(resource_directory(), frame.layout_id), nullptr, &manager());
    if (!root) {
        return false;
    }
    manager().set_root(std::move(root));
    manager().add_notifier(this);

    ui::Rect band{0, 0, 0, frame.caption_height};
    if (const auto caption = manager().window_attribute("caption")) {
        band = ui::parse_rect(*caption).value_or(band);
    }
    set_caption_band(band);
    if (const auto corner = manager().window_attribute("roundcorner")) {
        corner_ = ui::parse_size(*corner).value_or(corner_);
    }
    // A popup window is centred over its owner inside the work area as it is created.
    if (!create(owner_window_, "", frame.size, /*popup=*/true)) {
        return false;
    }
    owner_window_->add_message_filter(this);
    prepare();
    show(true);
    return true;
}

bool PopupWindow::pre_message(ui::WindowMessage, uintptr_t, intptr_t) {
    return false;
}

bool PopupWindow::enter_answers() {
    return manager().overlay_count() == 0 && !manager().keys_on_button();
}

void PopupWindow::send_result(std::string_view word) {
    if (ui::CControlUI* owner = owner_control()) {
        owner->manager()->send_notify(owner, word, 0, 0, /*async=*/true);
    }
}

intptr_t PopupWindow::handle_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                                     bool& handled) {
    // Every message of the window ends here, filters and default processing included, so the
    // object can free itself as the outermost message it is handling returns: nothing of the
    // toolkit's touches the window after that.
    handled = true;
    ++depth_;
    // A destroy() from outside, not nested in a message of ours: the caller still works on the
    // window afterwards, so the object may not go with it.
    const bool destroyed_from_outside = msg == ui::WindowMessage::kDestroy && depth_ == 1;
    if (msg == ui::WindowMessage::kDestroy) {
        on_destroyed();
    }
    intptr_t result = 0;
    if (!pre_message(msg, wparam, lparam)) {
        result = default_message(msg, wparam, lparam);
    }
    if (msg == ui::WindowMessage::kSize || msg == ui::WindowMessage::kScaleChanged) {
        // Cut on the display's own pixels, so the corners are as round as the pictures'.
        set_shape(
            rounded_rect_shape(scale().to_physical(client_size()), scale().to_physical(corner_)));
    }
    --depth_;
    if (destroyed_from_outside) {
        if (!deleting_ && std::find(orphans().begin(), orphans().end(), this) == orphans().end()) {
            orphans().push_back(this);
        }
    } else if (depth_ == 0 && destroyed_) {
        release();
    }
    return result;
}

void PopupWindow::notify(ui::TNotifyUI& msg) {
    if (destroyed_) {
        return;
    }
    // Outside any message of the window: delivered by the window's own queue (or sent straight
    // to a control from outside), whose caller still uses the window afterwards.
    const bool outside = depth_ == 0;
    if (outside) {
        in_async_notify_ = true;
    }
    on_notify(msg);
    if (outside) {
        in_async_notify_ = false;
    }
}

intptr_t PopupWindow::message_handler(ui::WindowMessage msg, uintptr_t, intptr_t, bool& handled) {
    handled = false;
    if (msg == ui::WindowMessage::kDestroy) {
        owner_gone();  // may free the object: nothing after this
    }
    return 0;
}

void PopupWindow::on_destroyed() {
    if (destroyed_) {
        return;
    }
    destroyed_ = true;
    if (ui::CWindowWnd* owner = owner_window()) {
        owner->remove_message_filter(this);
    }
    owner_ = nullptr;
    owner_window_ = nullptr;
    // Popups this one opened go with it.
    for (PopupWindow* popup : live_popups()) {
        const auto& live = registry();
        if (popup != this && std::find(live.begin(), live.end(), popup) != live.end() &&
            popup->owner_window_ == this) {
            popup->owner_gone();
        }
    }
}

void PopupWindow::owner_gone() {
    if (owner_window_ != nullptr) {
        owner_window_->remove_message_filter(this);
    }
    owner_ = nullptr;
    owner_window_ = nullptr;
    close();
}

void PopupWindow::release() {
    if (deleting_) {
        return;
    }
    if (in_async_notify_) {
        if (std::find(orphans().begin(), orphans().end(), this) == orphans().end()) {
            orphans().push_back(this);
        }
        return;
    }
    deleting_ = true;
    delete this;
}

void PopupWindow::release_orphans() {
    std::vector<PopupWindow*> done;
    done.swap(orphans());
    for (PopupWindow* popup : done) {
        if (popup != nullptr) {
            popup->deleting_ = true;
            delete popup;
        }
    }
}

}  // namespace talvoro::shell
