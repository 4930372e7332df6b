// The rows of the macro page's two lists: a name row per macro, with the macro's name in an edit
// that a rename makes writable, and a step row per listed step, with the step kind's icon and the
// step worded in the interface language.
#pragma once

#include <memory>
#include <string>

#include "core/edit.h"
#include "core/list_container_element.h"
#include "store/macro_operations.h"

namespace talvoro::shell {

// The step row's text label.
inline constexpr const char* kStepTextLabel = "macro_type_name";

// The icon picture of a step kind.
const char* step_icon(MacroRowKind kind);

std::unique_ptr<ui::CListContainerElementUI> make_name_row(const std::string& control_name,
                                                           const std::string& name);
std::unique_ptr<ui::CListContainerElementUI> make_step_row(MacroRowKind kind, const MacroStep& step,
                                                           int language);
// The text a step row shows for `step` in `language`.
std::string step_row_text(const MacroStep& step, int language);

// The name edit of a name row (macro_file_name_1 .. macro_file_name_15), found wherever the row
// holds it; null when it has none.
ui::CEditUI* find_name_edit(ui::CControlUI* row);
// The text label of a step row, or null.
ui::CControlUI* find_step_label(ui::CControlUI* row);

}  // namespace talvoro::shell
