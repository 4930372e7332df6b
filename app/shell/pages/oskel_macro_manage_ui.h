// The macro page: the list of macros and the steps of the selected one, new, rename, delete,
// import and export, the recorder's buttons and delay options, and editing steps by hand
// (delays, mouse steps from a menu, deleting a step).
#pragma once

#include <optional>
#include <string>

#include "core/button.h"
#include "core/edit.h"
#include "core/list.h"
#include "core/option.h"
#include "layouts/layout_table.h"
#include "shell/pages/layout_page.h"
#include "shell/pages/macro_record_control.h"
#include "shell/pages/macro_recorder.h"
#include "shell/pages/mouse_step_menu.h"
#include "store/macro_operations.h"

namespace talvoro::shell {

class OskelMacroManageUI : public LayoutPage, private MacroListView {
  public:
    OskelMacroManageUI() : LayoutPage(layouts::kMacroPageLayout) {}

    // Whether the recorder is recording: the window then feeds it the input it receives and
    // lets only the stop button react.
    bool recording() const;
    // One input of the window while recording.
    void on_recorded_input(const RecordedInput& input);

    void bind(PageHost& host, const MainWindowControls& controls) override;
    bool on_notify(ui::TNotifyUI& msg) override;
    bool handles_command(int id) const override { return is_mouse_step_menu_command(id); }
    void on_command(int id) override;
    void on_macros_loaded() override;
    void on_language_changed() override;
    void do_event(ui::ControlEvent& event) override;

    // The widths and positions that differ between the languages, for `language`.
    void apply_language_layout(int language);

    // The macro the step operations act on.
    int current_macro() const { return editor_ ? editor_->current_macro() : 0; }
    MacroRecordControl::Blink record_blink() const {
        return record_ ? record_->blink() : MacroRecordControl::Blink::kIdle;
    }

  private:
    // MacroListView: the editor changes the two lists through these.
    void clear_name_rows() override;
    void append_name_row(const std::string& control_name, const std::string& name) override;
    void remove_name_row(int row) override;
    void rename_name_row(int row, const std::string& control_name) override;
    void set_name_row_text(int row, const std::string& name) override;
    void clear_step_rows() override;
    void add_step_row(int row, bool insert, MacroRowKind kind, const MacroStep& step) override;
    void remove_step_row(int row) override;
    void set_step_row(int row, const MacroStep& step) override;

    bool on_click(ui::CControlUI* sender);
    // Delete and F2 on the macro list, Delete on the step list.
    bool on_list_key(ui::CControlUI* list, int key);
    void new_macro();
    void start_rename();
    void finish_rename(ui::CEditUI& edit);
    void select_macro(ui::CControlUI* row);
    void import_macros();
    void export_macros();
    void delete_macro();
    void start_recording();
    void insert_delay();
    void edit_delay();
    void open_mouse_step_menu();
    void insert_mouse_step(const MouseStepCommand& command);
    void delete_step();
    void keep_options_apart(ui::COptionUI* changed);
    // Where an inserted step goes: after the selected step row, else after the last row.
    int insert_position() const;
    // The delay an edit holds, or nothing after telling the person what is wrong with it.
    std::optional<uint32_t> read_delay(ui::CEditUI* edit, const char* not_a_number,
                                       const char* not_positive);
    int selected_macro_row() const;
    bool lists_exist() const { return name_list_ != nullptr && item_list_ != nullptr; }

    template <typename Control>
    Control* find(const char* name);

    // Made in bind, once the store is known.
    std::optional<MacroEditor> editor_;
    std::optional<MacroRecordControl> record_;

    ui::CListUI* name_list_ = nullptr;
    ui::CListUI* item_list_ = nullptr;
    ui::CButtonUI* new_btn_ = nullptr;
    ui::CButtonUI* rename_btn_ = nullptr;
    ui::CButtonUI* import_btn_ = nullptr;
    ui::CButtonUI* export_btn_ = nullptr;
    ui::CButtonUI* delete_btn_ = nullptr;
    ui::CButtonUI* record_btn_ = nullptr;
    ui::CButtonUI* stop_btn_ = nullptr;
    ui::COptionUI* ignore_delay_option_ = nullptr;
    ui::COptionUI* default_delay_option_ = nullptr;
    ui::CEditUI* default_delay_edit_ = nullptr;
    ui::CEditUI* insert_delay_edit_ = nullptr;
    ui::CEditUI* edit_delay_edit_ = nullptr;
    ui::CButtonUI* insert_delay_btn_ = nullptr;
    ui::CButtonUI* edit_delay_btn_ = nullptr;
    ui::CButtonUI* mouse_step_btn_ = nullptr;
    ui::CButtonUI* delete_step_btn_ = nullptr;
};

}  // namespace talvoro::shell
