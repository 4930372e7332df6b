#include "shell/pages/function_menu.h"

#include <algorithm>
#include <string>

#include "shell/language/function_names.h"
#include "shell/language/text_table.h"
#include "shell/pages/function_commands.h"
#include "store/store_text.h"

namespace talvoro::shell {
namespace {

void add_entry(ui::CMenuUI& menu, std::string text, int command) {
    menu.add_item(std::move(text), command);
    menu.add_separator();
}

void add_rows(ui::CMenuUI& menu, int first, int count, int language) {
    for (int row = first; row < first + count; ++row) {
        const FunctionRow& entry = kFunctionRows[static_cast<size_t>(row)];
        add_entry(menu, function_name(entry.code, language), entry.command);
    }
}

ui::CMenuUI& add_submenu(ui::CMenuUI& menu, TextRow caption, int command, int language) {
    ui::CMenuUI* submenu = menu.add_submenu(text(caption, language), command);
    menu.add_separator();
    return *submenu;
}

}  // namespace

int stored_macro_count(const ProfileStore& store) {
    // Copied first: the store is packed, and the field may not be bound to a reference.
    const int count = store.macro_store.macro_count;
    return std::clamp(count, 0, kMacroLimit);
}

std::unique_ptr<ui::CMenuUI> build_function_menu(const ProfileStore& store, int language,
                                                 int font) {
    auto menu = std::make_unique<ui::CMenuUI>();
    menu->set_attribute("width", std::to_string(kFunctionMenuWidth));
    menu->set_attribute("bkcolor", kFunctionMenuBackground);
    menu->set_attribute("font", std::to_string(font));

    add_rows(add_submenu(*menu, TextRow::kMenuMouseFunction, kMouseFunctionSubmenu, language),
             kMouseFunctionRows, kRowsPerSubmenu, language);
    add_rows(add_submenu(*menu, TextRow::kMenuGameFunction, kGameFunctionSubmenu, language),
             kGameFunctionRows, kRowsPerSubmenu, language);

    ui::CMenuUI& macros = add_submenu(*menu, TextRow::kMenuMacro, kMacroSubmenu, language);
    const int count = stored_macro_count(store);
    for (int i = 0; i < count; ++i) {
        add_entry(macros, std::string(field_text(store.macro_store.macros[i].name)),
                  kFirstMacroCommand + i);
    }
    if (count == 0) {
        // An empty submenu would not open at all; this entry assigns nothing.
        add_entry(macros, {}, kFirstMacroCommand);
    }

    add_rows(*menu, kFirstPlainRow, static_cast<int>(kFunctionRows.size()) - kFirstPlainRow,
             language);
    return menu;
}

}  // namespace talvoro::shell
