#include "dialogs/file_chooser_wnd.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "core/combo.h"
#include "core/edit.h"
#include "core/key_codes.h"
#include "core/label.h"
#include "core/list.h"
#include "core/list_container_element.h"
#include "core/paint_manager.h"

namespace talvoro::ui {
namespace {

constexpr int kCaptionHeight = 32;
constexpr int kRowHeight = 24;

constexpr const char* kLayout = R"(<Window>
  <Font name="Verdana" size="13" default="true"/>
  <Font name="Verdana" size="13" bold="true"/>
  <VerticalLayout name="chooser_frame" bkcolor="{panel}" bordercolor="{accent}" bordersize="1"
                  inset="1,1,1,1">
    <HorizontalLayout height="32" bkcolor="{window}" inset="14,0,14,0">
      <Label name="chooser_title" font="1" textcolor="{text}"/>
    </HorizontalLayout>
    <Control height="1" bkcolor="{line}"/>
    <VerticalLayout inset="14,12,14,14" childpadding="8">
      <HorizontalLayout height="26" childpadding="8">
        <Label text="Folder" width="80" textcolor="{secondary}"/>
        <Label name="chooser_folder" textcolor="{text}" bkcolor="{field}" bordercolor="{line}"
               bordersize="1" textpadding="6,0,6,0"/>
        <DialogButton name="chooser_up_btn" width="48" text="Up" align="center"
                      textcolor="{text}" bkcolor="{button}" hotbkcolor="{button_hot}"
                      pushedbkcolor="{button_pressed}"/>
      </HorizontalLayout>
      <List name="chooser_list" bkcolor="{field}" bordercolor="{line}" bordersize="1"
            inset="1,1,1,1" itemtextcolor="{text}" itemselectedtextcolor="{accent}"
            itemhotbkcolor="{row_hot}" itemselectedbkcolor="{accent_dark}"/>
      <HorizontalLayout height="26" childpadding="8">
        <Label text="File name" width="80" textcolor="{secondary}"/>
        <Edit name="chooser_name_edit" textcolor="{text}" bkcolor="{field}"
              nativebkcolor="{field}" bordercolor="{line}" bordersize="1" textpadding="6,0,6,0"/>
      </HorizontalLayout>
      <HorizontalLayout height="26" childpadding="8">
        <Label text="Type" width="80" textcolor="{secondary}"/>
        <Combo name="chooser_filter_combo" textcolor="{text}" bkcolor="{field}"
               bordercolor="{line}" bordersize="1" textpadding="6,0,6,0"
               itemtextcolor="{text}" itemhottextcolor="{accent}" itemhotbkcolor="{row_hot}"
               itemselectedbkcolor="{accent_dark}" dropbkcolor="{panel}"/>
      </HorizontalLayout>
      <HorizontalLayout name="chooser_buttons_row" height="28" childpadding="8">
        <Label name="chooser_status" textcolor="{accent}"/>
        <DialogButton name="chooser_ok_btn" width="88" align="center" textcolor="{text}"
                      bkcolor="{accent}" hotbkcolor="{accent_hot}"
                      pushedbkcolor="{accent_pressed}"/>
        <DialogButton name="chooser_cancel_btn" width="88" text="Cancel" align="center"
                      textcolor="{text}" bkcolor="{button}" hotbkcolor="{button_hot}"
                      pushedbkcolor="{button_pressed}"/>
      </HorizontalLayout>
      <HorizontalLayout name="chooser_replace_row" height="28" childpadding="8" visible="false">
        <Label name="chooser_replace_text" textcolor="{text}"/>
        <DialogButton name="chooser_replace_btn" width="88" text="Replace" align="center"
                      textcolor="{text}" bkcolor="{accent}" hotbkcolor="{accent_hot}"
                      pushedbkcolor="{accent_pressed}"/>
        <DialogButton name="chooser_replace_cancel_btn" width="88" text="Cancel" align="center"
                      textcolor="{text}" bkcolor="{button}" hotbkcolor="{button_hot}"
                      pushedbkcolor="{button_pressed}"/>
      </HorizontalLayout>
    </VerticalLayout>
  </VerticalLayout>
</Window>)";

bool is_folder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_file(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

std::string current_folder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string("/");
}

std::string home_folder() {
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] == '/' ? std::string(home) : current_folder();
}

// The folder part of a path without its trailing name ("/a/b" → "/a", "/a" → "/").
std::string parent_of(std::string path) {
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back();
    }
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// An absolute, resolved folder with a trailing '/'; nothing when it is no readable folder.
std::optional<std::string> resolved_folder(const std::string& path) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr || !is_folder(buffer)) {
        return std::nullopt;
    }
    std::string folder = buffer;
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

CFileChooserWnd::CFileChooserWnd(FileChooserRequest request) : request_(std::move(request)) {}

CFileChooserWnd::~CFileChooserWnd() {
    destroy();
}

bool CFileChooserWnd::open(CWindowWnd* owner) {
    const bool save = request_.mode == FileChooserRequest::Mode::kSave;
    // The initial path names a folder, or a folder and a suggested name in it.
    std::string start = request_.initial_path.empty() ? current_folder() : request_.initial_path;
    if (start[0] == '~' && (start.size() == 1 || start[1] == '/')) {
        start = home_folder() + start.substr(1);
    } else if (start[0] != '/') {
        start = current_folder() + "/" + start;
    }
    std::string folder = start;
    if (!is_folder(start) && start.back() != '/') {
        initial_name_ = start.substr(start.rfind('/') + 1);
        folder = parent_of(start);
    }
    // A folder that is gone: the nearest one above it that is there.
    while (!is_folder(folder) && folder != "/") {
        folder = parent_of(folder);
    }

    const std::string title = !request_.title.empty() ? request_.title : save ? "Save As" : "Open";
    if (!create_dialog(owner, title, Size{kWidth, kHeight}, kLayout, kCaptionHeight)) {
        return false;
    }
    list_ = dynamic_cast<CListUI*>(manager().find_control("chooser_list"));
    if (auto* label = manager().find_control("chooser_title")) {
        label->set_text(title);
    }
    if (auto* ok = manager().find_control("chooser_ok_btn")) {
        ok->set_text(save ? "Save" : "Open");
    }
    if (auto* combo = dynamic_cast<CComboUI*>(manager().find_control("chooser_filter_combo"))) {
        std::string name = request_.filter_name;
        if (name.empty()) {
            name = request_.patterns.empty() ? kAllFilesFilterName : "Files";
        }
        combo->add_item(name);
        if (request_.offer_all_files && !request_.patterns.empty()) {
            combo->add_item(kAllFilesFilterName);
        }
        combo->select_item(0, false);
    }
    set_typed_name(initial_name_);
    mark_suggestion(!initial_name_.empty());
    if (auto* edit = manager().find_control("chooser_name_edit")) {
        manager().set_focus(edit);
    }
    if (!change_folder(folder)) {
        change_folder(home_folder());
    }
    return true;
}

bool CFileChooserWnd::change_folder(const std::string& folder) {
    const std::string wanted = !folder.empty() && folder[0] == '/' ? folder : folder_ + folder;
    const auto resolved = resolved_folder(wanted);
    if (!resolved) {
        set_status("Cannot open the folder.");
        return false;
    }
    const auto listed = list_folder(*resolved, active_patterns());
    if (!listed) {
        set_status("Cannot read the folder.");
        return false;
    }
    end_replace_question();
    folder_ = *resolved;
    entries_ = *listed;
    set_status({});
    if (auto* label = manager().find_control("chooser_folder")) {
        label->set_text(folder_);
    }
    fill_list();
    return true;
}

void CFileChooserWnd::fill_list() {
    if (list_ == nullptr) {
        return;
    }
    list_->remove_all();
    for (size_t i = 0; i < entries_.size(); ++i) {
        const FolderEntry& entry = entries_[i];
        auto row = std::make_unique<CListContainerElementUI>();
        row->set_name("chooser_entry_" + std::to_string(i));
        row->set_text(entry.is_folder ? entry.name + "/" : entry.name);
        row->set_fixed_height(kRowHeight);
        row->set_attribute("textpadding", "8,0,96,0");
        auto kind = std::make_unique<CLabelUI>();
        kind->set_text(entry.is_folder ? "Folder" : size_text(entry.size));
        kind->set_attribute("align", "right");
        kind->set_attribute("textcolor", "#FFA3A3AD");
        kind->set_attribute("textpadding", "0,0,10,0");
        row->add(std::move(kind));
        list_->add(std::move(row));
    }
}

void CFileChooserWnd::set_status(const std::string& text) {
    if (auto* status = manager().find_control("chooser_status")) {
        status->set_text(text);
    }
}

std::vector<std::string> CFileChooserWnd::active_patterns() {
    const auto* combo = dynamic_cast<CComboUI*>(manager().find_control("chooser_filter_combo"));
    if (combo != nullptr && combo->current_index() == 1) {
        return {};  // "All files"
    }
    return request_.patterns;
}

std::string CFileChooserWnd::typed_name() {
    const CControlUI* edit = manager().find_control("chooser_name_edit");
    return edit != nullptr ? edit->text() : std::string();
}

void CFileChooserWnd::set_typed_name(const std::string& name) {
    if (auto* edit = dynamic_cast<CEditUI*>(manager().find_control("chooser_name_edit"))) {
        edit->set_text(name);
        edit->set_caret(name.size());
    }
}

void CFileChooserWnd::mark_suggestion(bool fresh) {
    suggestion_fresh_ = fresh;
    if (auto* edit = manager().find_control("chooser_name_edit")) {
        // The selection colour of the lists, so it reads as selected text.
        const char* color = fresh ? "#FF3C3C3C" : "#FF000000";
        edit->set_attribute("bkcolor", color);
        edit->set_attribute("nativebkcolor", color);
    }
}

bool CFileChooserWnd::edit_input_seen(WindowMessage msg, uintptr_t wparam) {
    if (!suggestion_fresh_ || manager().focus() != manager().find_control("chooser_name_edit")) {
        return false;
    }
    const int key = msg == WindowMessage::kKeyDown ? static_cast<int>(wparam) : 0;
    const bool erases = key == kKeyBack || key == kKeyDelete;
    const bool moves = key == kKeyLeft || key == kKeyRight || key == kKeyHome || key == kKeyEnd ||
                       key == kKeyUp || key == kKeyDown;
    if (msg == WindowMessage::kTextInput || erases) {
        set_typed_name({});
    } else if (msg == WindowMessage::kKeyDown && !moves) {
        return false;  // a character's own key: its text input decides
    }
    mark_suggestion(false);
    return erases;
}

void CFileChooserWnd::entry_selected(int index) {
    if (index >= 0 && static_cast<size_t>(index) < entries_.size() &&
        !entries_[static_cast<size_t>(index)].is_folder) {
        set_typed_name(entries_[static_cast<size_t>(index)].name);
    }
}

void CFileChooserWnd::entry_activated(int index) {
    if (index < 0 || static_cast<size_t>(index) >= entries_.size()) {
        return;
    }
    const FolderEntry entry = entries_[static_cast<size_t>(index)];
    if (entry.is_folder) {
        change_folder(folder_ + entry.name);
    } else {
        set_typed_name(entry.name);
        confirm();
    }
}

void CFileChooserWnd::confirm() {
    std::string typed = trimmed(typed_name());
    if (typed.empty()) {
        // OK on a selected folder enters it, as a double click would.
        const int selected = list_ != nullptr ? list_->get_cur_sel() : -1;
        if (selected >= 0 && static_cast<size_t>(selected) < entries_.size() &&
            entries_[static_cast<size_t>(selected)].is_folder) {
            entry_activated(selected);
        } else {
            set_status("Type a file name.");
        }
        return;
    }
    if (typed[0] == '~' && (typed.size() == 1 || typed[1] == '/')) {
        typed = home_folder() + typed.substr(1);
    }
    std::string path = typed[0] == '/' ? typed : folder_ + typed;
    if (is_folder(path)) {
        if (change_folder(path)) {
            set_typed_name({});
        }
        return;
    }
    if (request_.mode == FileChooserRequest::Mode::kSave) {
        path = with_default_extension(path, request_.default_extension);
        if (!is_folder(parent_of(path))) {
            set_status("The folder does not exist.");
            return;
        }
        if (is_folder(path)) {
            set_status("That name belongs to a folder.");
            return;
        }
        if (is_file(path)) {
            ask_replace(path);
            return;
        }
    } else if (!is_file(path)) {
        // "profile" finds "profile.qxp", as the default extension promises.
        const std::string completed = with_default_extension(path, request_.default_extension);
        if (completed == path || !is_file(completed)) {
            set_status("The file does not exist.");
            return;
        }
        path = completed;
    }
    finish(path);
}

void CFileChooserWnd::cancel() {
    result_.reset();
    close();
}

void CFileChooserWnd::finish(std::string path) {
    replace_path_.reset();
    result_ = std::move(path);
    close();
}

void CFileChooserWnd::ask_replace(std::string path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    replace_path_ = std::move(path);
    set_status({});
    if (auto* text = manager().find_control("chooser_replace_text")) {
        text->set_text(name + " already exists. Replace it?");
    }
    if (auto* row = manager().find_control("chooser_buttons_row")) {
        row->set_visible(false);
    }
    if (auto* row = manager().find_control("chooser_replace_row")) {
        row->set_visible(true);
    }
}

void CFileChooserWnd::end_replace_question() {
    if (!replace_path_) {
        return;
    }
    replace_path_.reset();
    if (auto* row = manager().find_control("chooser_replace_row")) {
        row->set_visible(false);
    }
    if (auto* row = manager().find_control("chooser_buttons_row")) {
        row->set_visible(true);
    }
}

void CFileChooserWnd::notify(TNotifyUI& msg) {
    const std::string name = msg.sender != nullptr ? msg.sender->name() : std::string();
    if (msg.type == "click") {
        if (name == "chooser_ok_btn") {
            confirm();
        } else if (name == "chooser_cancel_btn") {
            cancel();
        } else if (name == "chooser_replace_btn" && replace_path_) {
            finish(*replace_path_);
        } else if (name == "chooser_replace_cancel_btn") {
            end_replace_question();
        } else if (name == "chooser_up_btn") {
            change_folder(parent_of(folder_));
        }
    } else if (msg.type == "itemclick" && list_ != nullptr && msg.sender != nullptr &&
               msg.sender->parent() == list_) {
        end_replace_question();  // another name is being chosen
        entry_selected(static_cast<int>(msg.wparam));
    } else if (msg.type == "itemselect" && name == "chooser_filter_combo") {
        change_folder(folder_);
    } else if (msg.type == "itemselect" && msg.sender == list_) {
        // Chosen by the arrows: as a click on the row.
        end_replace_question();
        entry_selected(static_cast<int>(msg.wparam));
    } else if (msg.type == "keydown" && msg.sender == list_ &&
               msg.wparam == static_cast<uintptr_t>(kKeyBack)) {
        change_folder(parent_of(folder_));  // Backspace in the list goes up, as in other choosers
    }
}

intptr_t CFileChooserWnd::handle_message(WindowMessage msg, uintptr_t wparam, intptr_t lparam,
                                         bool& handled) {
    if (msg == WindowMessage::kTextInput || msg == WindowMessage::kButtonDown ||
        (msg == WindowMessage::kKeyDown && wparam != static_cast<uintptr_t>(kKeyReturn) &&
         wparam != static_cast<uintptr_t>(kKeyEscape))) {
        const bool erases =
            msg == WindowMessage::kKeyDown && (wparam == static_cast<uintptr_t>(kKeyBack) ||
                                               wparam == static_cast<uintptr_t>(kKeyDelete));
        if (msg == WindowMessage::kTextInput || erases) {
            end_replace_question();  // the name asked about is being changed
        }
        if (edit_input_seen(msg, wparam)) {
            handled = true;  // the whole suggestion went; nothing more to erase
            return 0;
        }
    }
    // A button Tab reached takes Enter itself.
    if (msg == WindowMessage::kKeyDown && manager().overlay_count() == 0 &&
        ((wparam == static_cast<uintptr_t>(kKeyReturn) && !manager().keys_on_button()) ||
         wparam == static_cast<uintptr_t>(kKeyEscape))) {
        handled = true;
        // While asking about replacing, Enter replaces (the button that is lit) and Escape goes
        // back to choosing. In the list Enter opens the selected entry, as a double click does.
        if (wparam == static_cast<uintptr_t>(kKeyReturn)) {
            if (replace_path_) {
                finish(*replace_path_);
            } else if (list_ != nullptr && manager().focus() == list_ &&
                       list_->get_cur_sel() >= 0) {
                entry_activated(list_->get_cur_sel());
            } else {
                confirm();
            }
        } else if (replace_path_) {
            end_replace_question();
        } else {
            cancel();
        }
        return 0;
    }
    if (msg == WindowMessage::kDoubleClick && wparam == 1) {
        // The press selects the row as usual; the second click of the pair then opens it.
        handled = true;
        default_message(msg, wparam, lparam);
        const Point at = point_from_param(lparam);
        for (CControlUI* hit = manager().find_control_at(at); hit != nullptr; hit = hit->parent()) {
            if (auto* row = dynamic_cast<CListContainerElementUI*>(hit);
                row != nullptr && row->owner() == list_) {
                entry_activated(row->index());
                break;
            }
        }
        return 0;
    }
    return CWindowWnd::handle_message(msg, wparam, lparam, handled);
}

}  // namespace talvoro::ui
