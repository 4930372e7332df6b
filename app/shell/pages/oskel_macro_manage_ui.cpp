#include "shell/pages/oskel_macro_manage_ui.h"

#include <array>
#include <cerrno>
#include <filesystem>

#include "core/key_codes.h"
#include "core/menu.h"
#include "shell/language/language.h"
#include "shell/oskel_main_wnd.h"
#include "shell/pages/delay_entry.h"
#include "shell/pages/macro_page_notices.h"
#include "shell/pages/macro_rows.h"
#include "shell/pages/page_host.h"
#include "shell/popups/message_box_wnd.h"
#include "store/macro_delay.h"
#include "store/macro_files.h"
#include "store/profile_files.h"

namespace talvoro::shell {
namespace {

struct LanguageGeometry {
    const char* name;
    const char* attribute;
    const char* german;
    const char* others;
};

// The German captions are longer: the buttons widen and the edits beside them move.
constexpr std::array<LanguageGeometry, 6> kLanguageGeometry = {{
    {"macro_record_btn", "width", "143", "114"},
    {"insert_delay_time_btn", "width", "222", "169"},
    {"edit_delay_time_btn", "width", "234", "169"},
    {"default_delay_time_edit", "pos", "291,69,0,0", "221,68,0,0"},
    {"insert_delay_time_edit", "pos", "276,50,0,0", "225,50,0,0"},
    {"edit_delay_time_edit", "pos", "286,88,0,0", "225,88,0,0"},
}};
constexpr int kGerman = 3;

constexpr const char* kInitialDelay = "50";

}  // namespace

template <typename Control>
Control* OskelMacroManageUI::find(const char* name) {
    Control* found = nullptr;
    for_each([&](ui::CControlUI& control) {
        if (found == nullptr && control.name() == name) {
            found = dynamic_cast<Control*>(&control);
        }
    });
    return found;
}

void OskelMacroManageUI::bind(PageHost& host, const MainWindowControls& controls) {
    LayoutPage::bind(host, controls);
    editor_.emplace(host.store(), static_cast<MacroListView&>(*this));
    record_.emplace(*editor_);

    name_list_ = find<ui::CListUI>("macro_name_list");
    item_list_ = find<ui::CListUI>("macro_item_list");
    new_btn_ = find<ui::CButtonUI>("macro_new_btn");
    rename_btn_ = find<ui::CButtonUI>("macro_rename_btn");
    import_btn_ = find<ui::CButtonUI>("macro_import_btn");
    export_btn_ = find<ui::CButtonUI>("macro_export_btn");
    delete_btn_ = find<ui::CButtonUI>("macro_delete_btn");
    record_btn_ = find<ui::CButtonUI>("macro_record_btn");
    stop_btn_ = find<ui::CButtonUI>("macro_record_stop_btn");
    ignore_delay_option_ = find<ui::COptionUI>("ignore_delay_option");
    default_delay_option_ = find<ui::COptionUI>("insert_default_delay_option");
    default_delay_edit_ = find<ui::CEditUI>("default_delay_time_edit");
    insert_delay_edit_ = find<ui::CEditUI>("insert_delay_time_edit");
    edit_delay_edit_ = find<ui::CEditUI>("edit_delay_time_edit");
    insert_delay_btn_ = find<ui::CButtonUI>("insert_delay_time_btn");
    edit_delay_btn_ = find<ui::CButtonUI>("edit_delay_time_btn");
    mouse_step_btn_ = find<ui::CButtonUI>("insert_mouse_event_btn");
    delete_step_btn_ = find<ui::CButtonUI>("delete_mouse_event_btn");
    if (mouse_step_btn_ != nullptr) {
        mouse_step_btn_->set_opens_menu(true);
    }

    for (ui::CEditUI* edit : {default_delay_edit_, insert_delay_edit_, edit_delay_edit_}) {
        if (edit != nullptr) {
            edit->set_attribute("nativebkcolor", "#FF000000");
            edit->set_attribute("textcolor", "#00FFFFFF");
            edit->set_text(kInitialDelay);
        }
    }
    record_->bind(
        host, *this,
        {record_btn_, stop_btn_, ignore_delay_option_, default_delay_option_, default_delay_edit_});
    // The German captions need their geometry from the first frame on, mouse or not.
    apply_language_layout(language_index());
    editor_->rebuild_name_list();
}

bool OskelMacroManageUI::recording() const {
    return record_ && record_->recording();
}

void OskelMacroManageUI::on_recorded_input(const RecordedInput& input) {
    if (record_) {
        record_->on_input(input);
    }
}

bool OskelMacroManageUI::on_notify(ui::TNotifyUI& msg) {
    if (!editor_) {
        return false;
    }
    if (recording()) {
        // Only the stop button is heard while recording.
        if (msg.type == "click" && msg.sender != nullptr && msg.sender == stop_btn_) {
            record_->stop();
            return true;
        }
        return false;
    }
    if (msg.type == "click") {
        return on_click(msg.sender);
    }
    if (msg.type == "itemclick" && msg.sender != nullptr && name_list_ != nullptr &&
        msg.sender->parent() == name_list_) {
        select_macro(msg.sender);
        return true;
    }
    if (msg.type == "itemselect" && msg.sender != nullptr && msg.sender == name_list_) {
        // Chosen by the arrows: the same as a click on the row.
        select_macro(name_list_->row_at(static_cast<int>(msg.wparam)));
        return true;
    }
    if (msg.type == "keydown" && msg.sender != nullptr) {
        return on_list_key(msg.sender, static_cast<int>(msg.wparam));
    }
    if (msg.type == "edit_return") {
        auto* edit = dynamic_cast<ui::CEditUI*>(msg.sender);
        if (edit != nullptr && name_row_index(edit->name()) >= 0) {
            finish_rename(*edit);
            return true;
        }
        return false;
    }
    if (msg.type == "selectchanged") {
        auto* option = dynamic_cast<ui::COptionUI*>(msg.sender);
        if (option != nullptr &&
            (option == ignore_delay_option_ || option == default_delay_option_)) {
            keep_options_apart(option);
            return true;
        }
    }
    return false;
}

bool OskelMacroManageUI::on_click(ui::CControlUI* sender) {
    if (sender == nullptr) {
        return false;
    }
    if (sender == new_btn_) {
        new_macro();
    } else if (sender == rename_btn_) {
        start_rename();
    } else if (sender == import_btn_) {
        import_macros();
    } else if (sender == export_btn_) {
        export_macros();
    } else if (sender == delete_btn_) {
        delete_macro();
    } else if (sender == record_btn_) {
        start_recording();
    } else if (sender == stop_btn_) {
        record_->stop();
    } else if (sender == insert_delay_btn_) {
        insert_delay();
    } else if (sender == edit_delay_btn_) {
        edit_delay();
    } else if (sender == mouse_step_btn_) {
        open_mouse_step_menu();
    } else if (sender == delete_step_btn_) {
        delete_step();
    } else {
        return false;
    }
    return true;
}

bool OskelMacroManageUI::on_list_key(ui::CControlUI* list, int key) {
    if (list == name_list_ && key == ui::kKeyDelete) {
        delete_macro();
    } else if (list == name_list_ && key == ui::kKeyF2) {
        start_rename();
    } else if (list == item_list_ && key == ui::kKeyDelete) {
        delete_step();
    } else {
        return false;
    }
    return true;
}

void OskelMacroManageUI::on_command(int id) {
    if (recording()) {
        return;
    }
    if (const std::optional<MouseStepCommand> command = decode_mouse_step_command(id)) {
        insert_mouse_step(*command);
    }
}

void OskelMacroManageUI::on_macros_loaded() {
    if (editor_) {
        editor_->rebuild_name_list();
    }
}

void OskelMacroManageUI::on_language_changed() {
    if (!editor_) {
        return;
    }
    apply_language_layout(language_index());
    // The rows word their steps in the language they are made in.
    editor_->list_steps(editor_->current_macro());
}

void OskelMacroManageUI::do_event(ui::ControlEvent& event) {
    if (event.type == ui::EventType::kTimer) {
        if (record_) {
            record_->on_timer(event.wparam);
        }
        return;
    }
    LayoutPage::do_event(event);
}

void OskelMacroManageUI::apply_language_layout(int language) {
    const bool german = known_language(language) == kGerman;
    for (const LanguageGeometry& entry : kLanguageGeometry) {
        if (ui::CControlUI* control = find<ui::CControlUI>(entry.name)) {
            control->set_attribute(entry.attribute, german ? entry.german : entry.others);
            control->need_update();
        }
    }
}

// --- the actions ------------------------------------------------------------------------------

void OskelMacroManageUI::new_macro() {
    if (editor_->new_macro()) {
        return;
    }
    // Fifteen macros: the limit picture, which the window waits for while it is up.
    if (new_btn_ != nullptr &&
        CMessageBoxWnd::open(CMessageBoxWnd::kMacroOverMax, new_btn_) != nullptr) {
        host_->mark_popup_shown(kMacroLimitShown);
    }
}

void OskelMacroManageUI::start_rename() {
    if (name_list_ == nullptr || name_list_->count() == 0) {
        return;
    }
    const int row = std::max(name_list_->get_cur_sel(), 0);
    ui::CEditUI* edit = find_name_edit(name_list_->row_at(row));
    if (edit == nullptr) {
        return;
    }
    edit->set_attribute("font", "4");
    edit->set_readonly(false);
    host_->window().manager().set_focus(edit);
}

void OskelMacroManageUI::finish_rename(ui::CEditUI& edit) {
    const int index = name_row_index(edit.name());
    // Copied first: the rename writes the final name back into this edit.
    const std::string typed = edit.text();
    editor_->rename_macro(index, typed);
    if (name_list_ != nullptr && name_list_->get_cur_sel() != index) {
        name_list_->select_item(index, false);
    }
    if (editor_->current_macro() != index) {
        // The step operations act on the renamed macro now, so its steps are the ones shown.
        editor_->set_current_macro(index);
        editor_->list_steps(index);
    }
    edit.set_readonly(true);
    if (name_list_ != nullptr && host_->window().manager().focus() == &edit) {
        // The keys go on from the list the name is in.
        host_->window().manager().set_focus(name_list_);
    }
}

void OskelMacroManageUI::select_macro(ui::CControlUI* row) {
    const ui::CEditUI* edit = find_name_edit(row);
    const int index = edit != nullptr ? name_row_index(edit->name()) : -1;
    if (index < 0) {
        return;
    }
    if (name_list_->get_cur_sel() != index) {
        name_list_->select_item(index, false);
    }
    // Whatever was selected before, the listed macro is the one the step operations act on.
    editor_->set_current_macro(index);
    editor_->list_steps(index);
}

void OskelMacroManageUI::import_macros() {
    MacroDialogs* dialogs = host_->services().macro_dialogs;
    if (!lists_exist() || dialogs == nullptr) {
        return;
    }
    const std::optional<std::string> path = dialogs->open_macro_path();
    if (!path || path->empty()) {
        return;
    }
    MacroStore& macros = host_->store().macro_store;
    if (read_macro_store(macros, *path) != kStoreRead) {
        return;  // missing or empty: nothing changed
    }
    editor_->rebuild_name_list();
    const std::string store_path = macro_store_path();
    if (*path != store_path && write_macro_store(macros, store_path) == 0) {
        tell_not_saved(*host_, store_path, errno);
    }
}

void OskelMacroManageUI::export_macros() {
    MacroDialogs* dialogs = host_->services().macro_dialogs;
    if (dialogs == nullptr) {
        return;
    }
    std::optional<std::string> path = dialogs->save_macro_path();
    if (!path || path->empty()) {
        return;
    }
    if (!std::filesystem::path(*path).has_extension()) {
        *path += ".qxm";
    }
    if (export_macro_file(host_->store().macro_store, *path) == 0) {
        tell_not_saved(*host_, *path, errno);
    }
}

void OskelMacroManageUI::delete_macro() {
    if (!lists_exist()) {
        return;
    }
    const int row = name_list_->get_cur_sel();
    if (row < 0) {
        return;
    }
    const MacroDeletion deletion = editor_->delete_macro(row);
    if (deletion && !deletion.saved) {
        tell_not_saved(*host_, macro_store_path(), errno);
    }
}

void OskelMacroManageUI::start_recording() {
    if (!lists_exist() || ignore_delay_option_ == nullptr || default_delay_option_ == nullptr) {
        return;
    }
    const int row = selected_macro_row();
    if (row < 0) {
        return;
    }
    record_->start(row);
}

void OskelMacroManageUI::insert_delay() {
    const int row = selected_macro_row();
    if (!lists_exist() || row < 0) {
        return;
    }
    editor_->set_current_macro(row);
    const std::optional<uint32_t> ms =
        read_delay(insert_delay_edit_, kInsertDelayNotANumber, kInsertDelayNotPositive);
    if (!ms) {
        return;
    }
    const std::string text = delay_text(*ms);
    // A macro at its 256 steps takes no more; no row appears for it.
    if (item_list_->count() == 0) {
        static_cast<void>(editor_->add_step(kRowDelay, text, false, 0));
    } else {
        static_cast<void>(editor_->add_step(kRowDelay, text, true, insert_position()));
    }
}

void OskelMacroManageUI::edit_delay() {
    if (item_list_ == nullptr) {
        return;
    }
    const std::optional<uint32_t> ms =
        read_delay(edit_delay_edit_, kEditDelayNotANumber, kEditDelayNotPositive);
    const int row = item_list_->get_cur_sel();
    if (ms && row >= 0) {
        // A row that is no delay keeps its step, without a message.
        static_cast<void>(editor_->edit_delay(row, *ms));
    }
}

void OskelMacroManageUI::open_mouse_step_menu() {
    if (mouse_step_btn_ == nullptr) {
        return;
    }
    const int language = language_index();
    const ui::Rect& at = mouse_step_btn_->pos();
    ui::CMenuUI::show(host_->window().manager(),
                      build_mouse_step_menu(language, language_info(language).default_font),
                      ui::Point{at.left, at.bottom}, kMouseStepMenuClosed);
}

void OskelMacroManageUI::insert_mouse_step(const MouseStepCommand& command) {
    if (!lists_exist() || selected_macro_row() < 0) {
        return;
    }
    const bool append = item_list_->count() == 0;
    const int position = append ? 0 : insert_position();
    const auto add = [&](MacroRowKind kind, int after) {
        // A macro at its 256 steps takes no more; no row appears for it.
        static_cast<void>(editor_->add_step(kind, command.label(), !append, position + after));
    };
    switch (command.edge) {
        case MouseStepEdge::kUp:
            add(kRowMouseRelease, 0);
            break;
        case MouseStepEdge::kDown:
            add(kRowMousePress, 0);
            break;
        case MouseStepEdge::kClick:
            add(kRowMousePress, 0);
            add(kRowMouseRelease, 1);
            break;
    }
}

void OskelMacroManageUI::delete_step() {
    if (item_list_ == nullptr) {
        return;
    }
    const int row = item_list_->get_cur_sel();
    if (row >= 0) {
        // A row past the macro's steps is no step to delete.
        static_cast<void>(editor_->delete_step(row));
    }
}

void OskelMacroManageUI::keep_options_apart(ui::COptionUI* changed) {
    if (ignore_delay_option_ == nullptr || default_delay_option_ == nullptr ||
        !ignore_delay_option_->is_selected() || !default_delay_option_->is_selected()) {
        return;
    }
    (changed == ignore_delay_option_ ? default_delay_option_ : ignore_delay_option_)
        ->selected(false, false);
}

int OskelMacroManageUI::insert_position() const {
    const int selected = item_list_->get_cur_sel();
    return (selected >= 0 ? selected : item_list_->count() - 1) + 1;
}

std::optional<uint32_t> OskelMacroManageUI::read_delay(ui::CEditUI* edit, const char* not_a_number,
                                                       const char* not_positive) {
    const DelayEntry entry = read_delay_entry(edit != nullptr ? edit->text() : std::string());
    switch (entry.fault) {
        case DelayEntryFault::kNone:
            return entry.milliseconds;
        case DelayEntryFault::kNotANumber:
            host_->show_notice(not_a_number);
            break;
        case DelayEntryFault::kNotPositive:
            host_->show_notice(not_positive);
            break;
    }
    return std::nullopt;
}

int OskelMacroManageUI::selected_macro_row() const {
    return name_list_ != nullptr ? name_list_->get_cur_sel() : -1;
}

// --- the lists, as the editor changes them ----------------------------------------------------

void OskelMacroManageUI::clear_name_rows() {
    if (name_list_ != nullptr) {
        name_list_->remove_all();
    }
}

void OskelMacroManageUI::append_name_row(const std::string& control_name, const std::string& name) {
    if (name_list_ != nullptr) {
        name_list_->add(make_name_row(control_name, name));
    }
}

void OskelMacroManageUI::remove_name_row(int row) {
    if (name_list_ != nullptr) {
        name_list_->remove_at(row);
    }
}

void OskelMacroManageUI::rename_name_row(int row, const std::string& control_name) {
    if (name_list_ == nullptr) {
        return;
    }
    if (ui::CEditUI* edit = find_name_edit(name_list_->row_at(row))) {
        edit->set_name(control_name);
    }
}

void OskelMacroManageUI::set_name_row_text(int row, const std::string& name) {
    if (name_list_ == nullptr) {
        return;
    }
    if (ui::CEditUI* edit = find_name_edit(name_list_->row_at(row))) {
        edit->set_text(name);
    }
}

void OskelMacroManageUI::clear_step_rows() {
    if (item_list_ != nullptr) {
        item_list_->remove_all();
    }
}

void OskelMacroManageUI::add_step_row(int row, bool insert, MacroRowKind kind,
                                      const MacroStep& step) {
    if (item_list_ == nullptr) {
        return;
    }
    if (!insert) {
        item_list_->add(make_step_row(kind, step, language_index()));
        return;
    }
    item_list_->add_at(make_step_row(kind, step, language_index()), row);
    item_list_->select_item(row, false);
}

void OskelMacroManageUI::remove_step_row(int row) {
    if (item_list_ != nullptr) {
        item_list_->remove_at(row);
    }
}

void OskelMacroManageUI::set_step_row(int row, const MacroStep& step) {
    if (item_list_ == nullptr) {
        return;
    }
    if (ui::CControlUI* label = find_step_label(item_list_->row_at(row))) {
        label->set_text(step_row_text(step, language_index()));
    }
}

}  // namespace talvoro::shell
