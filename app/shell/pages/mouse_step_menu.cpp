#include "shell/pages/mouse_step_menu.h"

#include <array>
#include <string>

#include "shell/language/text_table.h"
#include "shell/pages/function_menu.h"

namespace talvoro::shell {
namespace {

// The button entries, in menu order; the mouse actions follow the same order.
constexpr std::array<TextRow, kMouseStepButtons> kButtonEntries = {
    TextRow::kEventMenuLeft, TextRow::kEventMenuRight, TextRow::kEventMenuWheel,
    TextRow::kEventMenuForward, TextRow::kEventMenuBackward};
constexpr std::array<TextRow, 3> kEdgeEntries = {TextRow::kStepUp, TextRow::kStepDown,
                                                 TextRow::kMouseEventClick};

}  // namespace

std::optional<MouseStepCommand> decode_mouse_step_command(int id) {
    if (id < kFirstMouseStepCommand || id > kLastMouseStepCommand) {
        return std::nullopt;
    }
    const int offset = id - kFirstMouseStepCommand;
    return MouseStepCommand{static_cast<MouseAction>(kMouseLeftClick + offset / 3),
                            static_cast<MouseStepEdge>(offset % 3)};
}

bool is_mouse_step_menu_command(int id) {
    return id == kMouseStepMenuClosed || decode_mouse_step_command(id).has_value();
}

std::unique_ptr<ui::CMenuUI> build_mouse_step_menu(int language, int font) {
    auto menu = std::make_unique<ui::CMenuUI>();
    menu->set_attribute("width", std::to_string(kFunctionMenuWidth));
    menu->set_attribute("bkcolor", kFunctionMenuBackground);
    menu->set_attribute("font", std::to_string(font));
    for (int button = 0; button < kMouseStepButtons; ++button) {
        ui::CMenuUI* submenu =
            menu->add_submenu(text(kButtonEntries[static_cast<size_t>(button)], language),
                              kFirstMouseStepSubmenu + button);
        menu->add_separator();
        for (int edge = 0; edge < 3; ++edge) {
            submenu->add_item(text(kEdgeEntries[static_cast<size_t>(edge)], language),
                              kFirstMouseStepCommand + button * 3 + edge);
            submenu->add_separator();
        }
    }
    return menu;
}

}  // namespace talvoro::shell
