// Editing the macros of the store: create, rename, delete, add and change
// steps. The page's two lists are reached through MacroListView, which is
// handed the steps themselves (the view words them in its language), so the
// operations run (and are tested) without a window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/macro_steps.h"
#include "store/profile_store.h"

namespace talvoro {

// Control name of the name-row edit of macro `index`: "macro_file_name_1" for
// index 0 … "macro_file_name_15"; and back (-1 for any other name).
std::string name_row_control(int index);
int name_row_index(std::string_view control_name);

// The macro page's two lists, as the operations change them. Name rows are
// one per macro in use, in store order; step rows are one per listed step.
class MacroListView {
  public:
    virtual ~MacroListView() = default;
    virtual void clear_name_rows() = 0;
    virtual void append_name_row(const std::string& control_name, const std::string& name) = 0;
    virtual void remove_name_row(int row) = 0;
    // Gives the row's edit a new control name (after the rows below a
    // deleted one moved up).
    virtual void rename_name_row(int row, const std::string& control_name) = 0;
    // Sets the text of the row's edit.
    virtual void set_name_row_text(int row, const std::string& name) = 0;
    virtual void clear_step_rows() = 0;
    // With `insert` the row goes to `row` and becomes the selected row;
    // without, it is appended (`row` is then the row count) and the
    // selection stays. `step` is always a listed one.
    virtual void add_step_row(int row, bool insert, MacroRowKind kind, const MacroStep& step) = 0;
    virtual void remove_step_row(int row) = 0;
    // The step shown at `row` changed (a delay was edited).
    virtual void set_step_row(int row, const MacroStep& step) = 0;
};

// What a delete did: whether a macro went, and whether the store file then
// took the change (the person is told when it did not).
struct MacroDeletion {
    bool deleted = false;
    bool saved = false;
    explicit operator bool() const { return deleted; }
};

// The macro operations on one store, with the macro the page works on.
// Every count read from the store is brought into its table's range first,
// so a store from any file is safe to edit.
class MacroEditor {
  public:
    MacroEditor(ProfileStore& store, MacroListView& view) : store_(store), view_(view) {}

    int current_macro() const { return current_macro_; }
    void set_current_macro(int index);  // kept inside 0..14

    // Whether another record has the same name as record `index`, byte for
    // byte: among records 0..14 with `all_records`, else among the macros
    // in use.
    bool is_duplicate_name(int index, bool all_records) const;

    // Adds "Macro_<n>" ("Macro_<n>*" when that name is taken) at the end and
    // its name row. False, with nothing changed, when 15 macros exist.
    [[nodiscard]] bool new_macro();

    // Renames macro `index` (cut to 255 bytes; empty clears the name), then
    // appends '*' while another record has the name, at most 15 times. The
    // final name is also written to the row's edit and returned; nothing for
    // an index that is not a macro in use.
    std::optional<std::string> rename_macro(int index, std::string_view new_name);

    // Deletes macro `index`: buttons of every profile that played it go back
    // to their factory function, buttons that played a later macro follow it
    // down, the name rows and the records below it move up, the step list is
    // cleared and the macro store file is written. Nothing is deleted for an
    // index that is not a macro in use.
    MacroDeletion delete_macro(int index);

    // Adds a step to the current macro and its row. Without `insert` (or
    // with no step yet) the step is appended; with it, it goes to row
    // `position` (0 .. row count). Refused (nothing added) for an empty text,
    // an unknown kind, a position outside the rows, or a macro that already
    // has 256 steps.
    [[nodiscard]] bool add_step(MacroRowKind kind, std::string_view text, bool insert,
                                int position);

    // Sets the delay of the step at `row` of the current macro; only a delay
    // step changes.
    [[nodiscard]] bool edit_delay(int row, uint32_t milliseconds);

    // Deletes the step at `row` of the current macro and its row.
    [[nodiscard]] bool delete_step(int row);

    // Discards every step of macro `index` (0..14) and empties the step
    // list, which then shows that macro: the recorder starts from nothing.
    void clear_steps(int index);

    // Lists the steps of macro `index` (0..14) in the step list.
    void list_steps(int index);

    // Lists every macro in use in the name list, then the steps of macro 0,
    // which becomes the current macro.
    void rebuild_name_list();

    // Import: reads a macro file over the MacroStore, writes the store file
    // (unless it was the file read) and rebuilds the lists. Returns the
    // read's result (profile_files.h).
    [[nodiscard]] int import_macros(const std::string& path);

    // The step shown at `row` of macro `index`, or -1. Rows skip the steps
    // that are not listed, so a row always names the step it shows.
    int step_of_row(int index, int row) const;
    int listed_step_count(int index) const;

  private:
    MacroRecord& record(int index) { return store_.macro_store.macros[index]; }
    const MacroRecord& record(int index) const { return store_.macro_store.macros[index]; }
    int macro_count() const;
    int step_count(int index) const;

    ProfileStore& store_;
    MacroListView& view_;
    int current_macro_ = 0;
};

}  // namespace talvoro
