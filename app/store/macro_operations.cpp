#include "store/macro_operations.h"

#include <algorithm>
#include <cstring>

#include "store/button_function.h"
#include "store/macro_delay.h"
#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store/store_text.h"

namespace talvoro {

std::string name_row_control(int index) {
    return "macro_file_name_" + std::to_string(index + 1);
}

int name_row_index(std::string_view control_name) {
    for (int index = 0; index < kMacroLimit; ++index) {
        if (control_name == name_row_control(index))
            return index;
    }
    return -1;
}

void MacroEditor::set_current_macro(int index) {
    current_macro_ = std::clamp(index, 0, kMacroLimit - 1);
}

int MacroEditor::macro_count() const {
    const int32_t count = store_.macro_store.macro_count;
    return std::clamp<int32_t>(count, 0, kMacroLimit);
}

int MacroEditor::step_count(int index) const {
    const int32_t count = record(index).step_count;
    return std::clamp<int32_t>(count, 0, kMacroSteps);
}

bool MacroEditor::is_duplicate_name(int index, bool all_records) const {
    if (index < 0 || index >= kMacroRecords)
        return false;
    const std::string_view name = field_text(record(index).name);
    const int limit = all_records ? kMacroLimit : macro_count();
    for (int other = 0; other < limit; ++other) {
        if (other != index && field_text(record(other).name) == name)
            return true;
    }
    return false;
}

bool MacroEditor::new_macro() {
    const int count = macro_count();
    if (count >= kMacroLimit)
        return false;
    store_.macro_store.macro_count = count;
    // A new macro starts empty, even where a file left data beyond the
    // macros in use.
    MacroRecord& created = record(count);
    std::memset(&created, 0, sizeof created);
    const std::string name = "Macro_" + std::to_string(count + 1);
    copy_text(created.name, name);
    if (is_duplicate_name(count, false))
        copy_text(created.name, name + "*");
    view_.append_name_row(name_row_control(count), std::string(field_text(created.name)));
    store_.macro_store.macro_count = count + 1;
    return true;
}

std::optional<std::string> MacroEditor::rename_macro(int index, std::string_view new_name) {
    if (index < 0 || index >= macro_count())
        return std::nullopt;
    MacroRecord& renamed = record(index);
    copy_text(renamed.name, new_name);  // an empty name clears the whole field
    for (int appended = 0; appended < kMacroLimit && is_duplicate_name(index, true); ++appended) {
        // A full field gives up its last character so the asterisk fits.
        const std::string_view name = field_text(renamed.name);
        std::string longer(name.substr(0, fitting_length(name, kTextField - 2)));
        longer += '*';
        copy_text(renamed.name, longer);
    }
    std::string final_name(field_text(renamed.name));
    view_.set_name_row_text(index, final_name);
    return final_name;
}

MacroDeletion MacroEditor::delete_macro(int index) {
    const int count = macro_count();
    if (index < 0 || index >= count)
        return {};

    for (ProfileBlock& block : store_.profiles) {
        for (int b = 0; b < kButtonCount; ++b) {
            const int32_t function = block.button_function[b];
            const int32_t played = block.button_param[b];
            if (function != kMacro || played <= 0)
                continue;
            if (played - 1 == index) {
                block.button_function[b] = kDefaultButtons[b];
                block.button_param[b] = 0;
            } else if (played - 1 > index) {
                block.button_param[b] = played - 1;
            }
        }
    }

    MacroStore& macros = store_.macro_store;
    view_.remove_name_row(index);
    view_.clear_step_rows();
    if (count == 1) {
        std::memset(macros.macros, 0, sizeof macros.macros);
        macros.macro_count = 0;
    } else {
        for (int k = index; k + 1 < count; ++k) {
            std::memcpy(&macros.macros[k], &macros.macros[k + 1], sizeof(MacroRecord));
            view_.rename_name_row(k, name_row_control(k));
        }
        std::memset(&macros.macros[count - 1], 0, sizeof(MacroRecord));
        macros.macro_count = count - 1;
    }
    return {.deleted = true, .saved = write_macro_store(macros, {}) != 0};
}

int MacroEditor::listed_step_count(int index) const {
    if (index < 0 || index >= kMacroLimit)
        return 0;
    int rows = 0;
    for (int s = 0; s < step_count(index); ++s) {
        if (is_listed_step(record(index).steps[s]))
            ++rows;
    }
    return rows;
}

int MacroEditor::step_of_row(int index, int row) const {
    if (index < 0 || index >= kMacroLimit || row < 0)
        return -1;
    int rows = 0;
    for (int s = 0; s < step_count(index); ++s) {
        if (!is_listed_step(record(index).steps[s]))
            continue;
        if (rows == row)
            return s;
        ++rows;
    }
    return -1;
}

bool MacroEditor::add_step(MacroRowKind kind, std::string_view text, bool insert, int position) {
    static constexpr const char* kKinds[] = {"t", "k", "k", "m", "m", "m", "m"};
    static constexpr const char* kActions[] = {"", "down", "up", "down", "up", "down", "up"};
    if (text.empty() || kind < kRowDelay || kind > kRowWheelUp)
        return false;
    const int macro = current_macro_;
    const int count = step_count(macro);
    if (count >= kMacroSteps)
        return false;
    const int rows = listed_step_count(macro);

    int at = count;
    int row = rows;
    const bool inserting = insert && count > 0;
    if (inserting) {
        if (position < 0 || position > rows)
            return false;
        // Right after the step shown above the new row, so the new step
        // follows what the user sees before it.
        at = position == 0 ? 0 : step_of_row(macro, position - 1) + 1;
        row = position;
    }

    MacroRecord& target = record(macro);
    for (int s = count - 1; s >= at; --s)
        std::memcpy(&target.steps[s + 1], &target.steps[s], sizeof(MacroStep));
    MacroStep& step = target.steps[at];
    copy_text(step.kind, kKinds[kind]);
    copy_text(step.text, text);
    copy_text(step.action, kActions[kind]);
    target.step_count = count + 1;

    view_.add_step_row(row, insert, kind, step);
    return true;
}

bool MacroEditor::edit_delay(int row, uint32_t milliseconds) {
    const int s = step_of_row(current_macro_, row);
    if (s < 0)
        return false;
    MacroStep& step = record(current_macro_).steps[s];
    if (field_text(step.kind) != "t")
        return false;
    format_delay(milliseconds, step.text);
    copy_text(step.action, "");
    view_.set_step_row(row, step);
    return true;
}

bool MacroEditor::delete_step(int row) {
    const int s = step_of_row(current_macro_, row);
    if (s < 0)
        return false;
    MacroRecord& target = record(current_macro_);
    const int count = step_count(current_macro_);
    view_.remove_step_row(row);
    for (int k = s; k + 1 < count; ++k)
        std::memcpy(&target.steps[k], &target.steps[k + 1], sizeof(MacroStep));
    if (count == 1)
        std::memset(target.steps, 0, sizeof target.steps);  // the last one: start clean
    else
        std::memset(&target.steps[count - 1], 0, sizeof(MacroStep));
    target.step_count = count - 1;
    return true;
}

void MacroEditor::clear_steps(int index) {
    if (index < 0 || index >= kMacroLimit)
        return;
    MacroRecord& cleared = record(index);
    // All of them, not only the count, so no old step travels on in a file.
    std::memset(cleared.steps, 0, sizeof cleared.steps);
    cleared.step_count = 0;
    list_steps(index);
}

void MacroEditor::list_steps(int index) {
    view_.clear_step_rows();
    if (index < 0 || index >= kMacroLimit)
        return;
    int row = 0;
    for (int s = 0; s < step_count(index); ++s) {
        const MacroStep& step = record(index).steps[s];
        if (is_listed_step(step))
            view_.add_step_row(row++, false, step_row_kind(step), step);
    }
}

void MacroEditor::rebuild_name_list() {
    view_.clear_name_rows();
    for (int index = 0; index < macro_count(); ++index)
        view_.append_name_row(name_row_control(index), std::string(field_text(record(index).name)));
    // The step list shows macro 0 now, so the step operations act on it; with no macro in
    // use there is nothing to show.
    current_macro_ = 0;
    if (macro_count() > 0)
        list_steps(0);
    else
        view_.clear_step_rows();
}

int MacroEditor::import_macros(const std::string& path) {
    const int result = import_macro_file(store_.macro_store, path);
    if (result == kStoreRead)
        rebuild_name_list();
    return result;
}

}  // namespace talvoro
