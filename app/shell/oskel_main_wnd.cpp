#include "shell/oskel_main_wnd.h"

#include <algorithm>

#include "core/key_codes.h"
#include "core/option.h"
#include "core/tab_layout.h"
#include "layouts/layout_table.h"
#include "platform/background_input.h"
#include "platform/device_watcher.h"
#include "platform/program_paths.h"
#include "render/debug_log.h"
#include "render/image_prefetch.h"
#include "render/mask_region.h"
#include "render/rect.h"
#include "shell/language/language.h"
#include "shell/language/text_table.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/macro_recorder.h"
#include "shell/pages/oskel_macro_manage_ui.h"
#include "shell/pages/oskel_main_control_ui.h"
#include "shell/pages/oskel_performance_ui.h"
#include "shell/pages/oskel_support_ui.h"
#include "shell/popups/popup_message_wnd.h"
#include "shell/popups/popup_state.h"
#include "store/settings_file.h"
#include "store/store_text.h"

namespace talvoro::shell {
namespace {

// Posted to itself once the first frame is on screen, so the start-up read never blanks it.
constexpr uintptr_t kWindowInitMessage = 0x7F01;

// The window's mask always comes from the English skin folder.
constexpr const char* kMaskBitmap = "TalvoroSkin/Background_mask.bmp";

// The layout's own size, for a window whose mask bitmap is missing.
constexpr ui::Size kLayoutSize{1025, 701};

}  // namespace

COskelMainWnd::COskelMainWnd(ProfileStore& store, const DeviceApi& api, ShellServices services)
    : store_(store),
      services_(std::move(services)),
      link_(api, services_.sleep),
      exchange_(store, link_, *services_.desktop, *this),
      presence_(link_, exchange_, *this),
      mask_loading_(std::async(std::launch::async, [] {
          return ui::load_mask_region(resource_directory() + kMaskBitmap,
                                      ui::default_display_scale().picture_density());
      })) {}

COskelMainWnd::~COskelMainWnd() {
    // The watcher's thread posts to this window: it ends first.
    watcher_.reset();
    destroy();
}

bool COskelMainWnd::create_main(const std::string& title) {
    mask_ = mask_loading_.valid() ? mask_loading_.get() : std::nullopt;
    const ui::Size size =
        mask_ ? ui::Size{mask_->size.width / mask_->density, mask_->size.height / mask_->density}
              : kLayoutSize;
    const bool created = create(nullptr, title, size);
    mask_.reset();
    if (!created) {
        return false;
    }
    center_over(nullptr, work_area());
    show(true);
    // The first frame took the pictures it needed; the others would only take memory.
    ui::discard_prefetched_images();
    post_message(ui::WindowMessage::kUser, kWindowInitMessage);
    return true;
}

// --- window messages --------------------------------------------------------------------------

intptr_t COskelMainWnd::handle_message(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                                       bool& handled) {
    using ui::WindowMessage;
    intptr_t result = 0;
    if (!recording()) {
        stop_press_passed_ = false;
    } else if (feed_recorder(msg, wparam, lparam)) {
        handled = true;
        return result;
    }
    switch (msg) {
        case WindowMessage::kCreate:
            on_create();
            handled = true;
            break;
        case WindowMessage::kDestroy:
            // A recording cut short by the window's end leaves no desktop input registered.
            recording_changed(false);
            // The device is closed on the way out; nothing is written to any file.
            if (link_.api().Close_QX_device != nullptr) {
                link_.api().Close_QX_device();
            }
            quit();
            break;
        case WindowMessage::kCommand:
            on_command(static_cast<int>(wparam));
            handled = true;
            break;
        case WindowMessage::kMouseMove:
            last_pointer_ = ui::point_from_param(lparam);
            // The mouse picture lights up under the pointer, on the main control page only and
            // not while the function menu is up.
            if (main_page_ != nullptr && current_main_tab_ == 0 && !menu_open()) {
                main_page_->on_pointer_moved(last_pointer_);
            }
            break;
        case WindowMessage::kDoubleClick:
            // A double click on the caption band toggles between the layout's size and the work
            // area; the shape stays the mask's.
            if (wparam == 1 && hit_test(ui::point_from_param(lparam)) == HitTest::kCaption) {
                maximize_to_work_area();
                handled = true;
            }
            break;
        case WindowMessage::kDeviceChange:
            on_device_messages();
            handled = true;
            break;
        case WindowMessage::kKeyDown:
            // Ctrl+Tab and Ctrl+Shift+Tab go to the next and the previous page.
            if (wparam == ui::kKeyTab && (lparam & ui::kKeyControlFlag) != 0 &&
                !input_locked(msg, lparam)) {
                switch_page((lparam & ui::kKeyShiftFlag) != 0 ? -1 : 1);
                handled = true;
            }
            break;
        case WindowMessage::kScaleChanged:
            // The shape from the mask drawn nearest the new scale.
            mask_ =
                ui::load_mask_region(resource_directory() + kMaskBitmap, scale().picture_density());
            apply_window_shape();
            mask_.reset();
            break;
        case WindowMessage::kUser:
            if (wparam == kWindowInitMessage) {
                window_init();
            }
            // The second start's message needs no answer: this window is already there.
            handled = true;
            break;
        default:
            break;
    }
    if (input_locked(msg, lparam)) {
        handled = true;
    }
    return result;
}

void COskelMainWnd::on_create() {
    apply_window_shape();
    ui::CDialogBuilder builder;
    const std::string layout =
        layouts::layout_path(resource_directory(), layouts::kMainWindowLayout);
    manager().set_root(builder.create_from_file(layout, &builder_callback_, &manager()));
    if (const auto caption = manager().window_attribute("caption")) {
        if (const auto band = ui::parse_rect(*caption)) {
            set_caption_band(*band);
        }
    }
    main_page_ = builder_callback_.main_control();
    performance_page_ = builder_callback_.performance();
    macro_page_ = builder_callback_.macro_manage();
    support_page_ = builder_callback_.support();
    manager().add_notifier(this);
    manager().add_command_handler(this);
    control_setup();
}

void COskelMainWnd::apply_window_shape() {
    if (!mask_) {
        return;
    }
    std::vector<ui::Rect> opaque;
    opaque.reserve(mask_->opaque.size());
    for (const ui::Rect& r : mask_->opaque) {
        opaque.push_back(scale().to_physical(r, mask_->density));
    }
    set_shape(std::move(opaque));
}

void COskelMainWnd::control_setup() {
    start_device_watch();
    controls_.find_all(manager());
    progress_.find_controls(manager());
    manager().set_default_font(language_info(language_index()).default_font);
    prepare_language_combo();
    for (ui::CButtonUI* button : controls_.button_btns) {
        if (button == nullptr) {
            continue;
        }
        button->set_attribute("align", "left");
        button->set_attribute("textpadding", "8,0,0,0");
        button->set_attribute("bkcolor", "#FF000000");
        button->set_attribute("nativebkcolor", "#FF000000");
        button->set_attribute("textcolor", "#00FFFFFF");
    }
    for (LayoutPage* owner : pages()) {
        if (owner != nullptr) {
            owner->bind(*this, controls_);
        }
    }
    save_language(language_index());
}

void COskelMainWnd::prepare_language_combo() {
    ui::CComboUI* combo = controls_.language_combo;
    if (combo == nullptr || combo->count() > 0) {
        return;
    }
    combo->set_attribute("itemfont", "4");
    combo->set_attribute("dropboxsize", "0,600");
    for (int language = 0; language < 4; ++language) {
        combo->add_item(language_info(language).combo_text);
    }
    combo->set_attribute("itemhottextcolor", "#FFFF3C3C");
    combo->select_item(language_index(), false);
}

void COskelMainWnd::start_device_watch() {
    if (!services_.watch_devices || watcher_ != nullptr) {
        return;
    }
    watcher_ = std::make_unique<platform::DeviceWatcher>(
        [this] { post_message(ui::WindowMessage::kDeviceChange); });
    if (!watcher_->start()) {
        show_notice("Can't register device notification: the system does not report devices");
        watcher_.reset();
    }
}

void COskelMainWnd::on_device_messages() {
    if (watcher_ == nullptr) {
        return;
    }
    for (const platform::DeviceChange& change : watcher_->take_changes()) {
        device_change(change);
    }
}

void COskelMainWnd::device_change(const watch::DeviceChange& change) {
    presence_.on_device_change(change);
}

void COskelMainWnd::quit() {
    quit_requested_ = true;
    if (services_.quit) {
        services_.quit();
    }
}

// --- recording ------------------------------------------------------------------------------

bool COskelMainWnd::recording() const {
    return macro_page_ != nullptr && macro_page_->recording();
}

void COskelMainWnd::record(const RecordedInput& input) {
    if (macro_page_ != nullptr) {
        macro_page_->on_recorded_input(input);
    }
}

namespace {

// The recorder's input in a window message, if it carries one.
std::optional<RecordedInput> recorded_input(ui::WindowMessage msg, uintptr_t wparam,
                                            intptr_t lparam) {
    using ui::WindowMessage;
    using Kind = RecordedInput::Kind;
    const ui::Point point = ui::point_from_param(lparam);
    const int code = static_cast<int>(wparam);
    switch (msg) {
        case WindowMessage::kKeyDown:  // a press or its auto-repeat, each a step
            return RecordedInput{Kind::kKeyDown, code, {}};
        case WindowMessage::kKeyUp:
            return RecordedInput{Kind::kKeyUp, code, {}};
        case WindowMessage::kButtonDown:
        case WindowMessage::kDoubleClick:
            if (code < 1 || code > 5) {
                return std::nullopt;
            }
            return RecordedInput{Kind::kButtonDown, code, point};
        case WindowMessage::kButtonUp:
            if (code < 1 || code > 5) {
                return std::nullopt;
            }
            return RecordedInput{Kind::kButtonUp, code, point};
        case WindowMessage::kMouseWheel:
            return RecordedInput{Kind::kWheel, ui::wheel_notches(wparam), point};
        default:
            return std::nullopt;
    }
}

}  // namespace

bool COskelMainWnd::feed_recorder(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
    using ui::WindowMessage;
    if (msg == WindowMessage::kTextInput) {
        // The typing the keys already recorded; no edit takes it while recording.
        return true;
    }
    const std::optional<RecordedInput> input = recorded_input(msg, wparam, lparam);
    if (!input) {
        return false;
    }
    // With the desktop's input the same keys and clicks arrive that way too.
    if (!background_input_) {
        record(*input);
    }
    // The recorder leaves out the stop button's own click by its area; the click goes on to it.
    if (input->kind == RecordedInput::Kind::kButtonDown && input->code == 1 &&
        point_in("macro_record_stop_btn", input->point)) {
        stop_press_passed_ = true;
        return false;
    }
    if (input->kind == RecordedInput::Kind::kButtonUp && input->code == 1 && stop_press_passed_) {
        stop_press_passed_ = false;
        return false;
    }
    return true;
}

void COskelMainWnd::record_background(ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
    if (!recording()) {
        return;
    }
    if (const std::optional<RecordedInput> input = recorded_input(msg, wparam, lparam)) {
        record(*input);
    }
}

void COskelMainWnd::switch_page(int direction) {
    const int count = static_cast<int>(kTabNames.size());
    const int next = (current_main_tab_ + count + direction) % count;
    if (auto* tab = dynamic_cast<ui::COptionUI*>(manager().find_control(kTabNames[next]))) {
        tab->activate();
    }
}

void COskelMainWnd::recording_changed(bool recording) {
    if (recording) {
        background_input_ = platform::start_background_input(
            *this, [this](ui::WindowMessage msg, uintptr_t wparam, intptr_t lparam) {
                record_background(msg, wparam, lparam);
            });
        ui::debug_log(background_input_ ? "recorder: the desktop's keys and buttons"
                                        : "recorder: the window's own keys and buttons");
    } else {
        if (background_input_) {
            platform::stop_background_input();
            background_input_ = false;
        }
        // The keys go on from where the recording was started.
        if (ui::CControlUI* record = manager().find_control("macro_record_btn")) {
            manager().set_focus(record);
        }
    }
}

// --- the input lock ---------------------------------------------------------------------------

bool COskelMainWnd::point_in(const char* control_name, ui::Point point) {
    const ui::CControlUI* control = manager().find_control(control_name);
    return control != nullptr && control->visible() && control->pos().contains(point);
}

bool COskelMainWnd::input_locked(ui::WindowMessage msg, intptr_t lparam) {
    using ui::WindowMessage;
    const bool left_press =
        (msg == WindowMessage::kButtonDown || msg == WindowMessage::kDoubleClick);
    const bool pointer = msg == WindowMessage::kMouseMove || left_press;
    const bool key = msg == WindowMessage::kKeyDown || msg == WindowMessage::kKeyUp ||
                     msg == WindowMessage::kTextInput;
    if (key) {
        // An exchange's lock (a popup over the window, the mouse away) holds the keys too.
        return popup_open != 0 || device_absent();
    }
    if (!pointer) {
        return false;
    }
    const ui::Point point = ui::point_from_param(lparam);
    if (recording()) {
        if (msg == WindowMessage::kButtonDown && !point_in("macro_record_stop_btn", point)) {
            return true;
        }
        static constexpr const char* kQuietWhileRecording[] = {
            "macro_new_btn",       "macro_rename_btn",       "macro_import_btn",
            "macro_export_btn",    "macro_delete_btn",       "insert_delay_time_btn",
            "edit_delay_time_btn", "insert_mouse_event_btn", "delete_mouse_event_btn"};
        if (msg == WindowMessage::kMouseMove &&
            std::any_of(std::begin(kQuietWhileRecording), std::end(kQuietWhileRecording),
                        [&](const char* name) { return point_in(name, point); })) {
            return true;
        }
    }
    if (popup_open == 0 && !device_absent()) {
        return false;
    }
    if (device_absent()) {
        if (point_in("quitbtn", point)) {
            return false;
        }
        presence_.on_input_while_absent();
    }
    return true;
}

void COskelMainWnd::macros_replaced() {
    if (macro_page_ != nullptr) {
        macro_page_->on_macros_loaded();
    }
}

}  // namespace talvoro::shell
