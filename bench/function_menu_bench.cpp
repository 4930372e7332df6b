// The button function menu on the real main window layout: time from a click on a button field
// to the menu's first painted frame (building the menu with 15 macros, placing it, drawing it),
// and from pointing at the macro entry to its submenu's frame.
//
// Target: the menu's first frame under 16 ms (one frame at 60 Hz).
//
// Usage: bench_function_menu [program folder]   (default: this program's folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "core/dialog_builder.h"
#include "core/menu.h"
#include "core/paint_manager.h"
#include "layouts/layout_table.h"
#include "platform/program_paths.h"
#include "render/canvas.h"
#include "shell/dialog_builder_callback_ex.h"
#include "shell/pages/function_commands.h"
#include "shell/pages/function_menu.h"
#include "store/profile_store.h"
#include "store/store_text.h"

namespace {

using namespace talvoro;
using talvoro::bench::Clock;
using talvoro::bench::elapsed_ms;
using talvoro::bench::median;

}  // namespace

int main(int argc, char** argv) {
    std::string program_dir = argc > 1 ? std::string(argv[1]) : std::string();
    if (!program_dir.empty() && program_dir.back() != '/') {
        program_dir += '/';
    }
    const std::string resources =
        program_dir.empty() ? resource_directory() : resource_directory_for(program_dir);
    ui::CPaintManagerUI::set_resource_path(resources + "TalvoroSkin/");

    ui::CPaintManagerUI manager;
    ui::CDialogBuilder builder;
    shell::CDialogBuilderCallbackEx callback;
    manager.set_root(builder.create_from_file(
        layouts::layout_path(resources, layouts::kMainWindowLayout), &callback, &manager));
    const ui::CControlUI* field = manager.find_control("button_6_btn");
    if (field == nullptr) {
        std::fprintf(stderr, "the main window layout was not found under %s\n", resources.c_str());
        return 1;
    }
    manager.set_client_size(ui::Size{1025, 701});
    ui::Canvas canvas(1025, 701);
    manager.paint(canvas);

    auto store = std::make_unique<ProfileStore>();
    store->macro_store.macro_count = kMacroLimit;
    for (int i = 0; i < kMacroLimit; ++i) {
        copy_text(store->macro_store.macros[i].name, "Macro_" + std::to_string(i + 1));
    }

    std::vector<double> opens, submenus;
    for (int round = 0; round < 25; ++round) {
        auto start = Clock::now();
        auto menu = shell::build_function_menu(*store, 0, 1);
        ui::CMenuUI* shown = ui::CMenuUI::show(manager, std::move(menu),
                                               ui::Point{field->pos().left, field->pos().bottom},
                                               shell::kFunctionMenuClosed);
        const std::vector<ui::Rect> drawn = manager.paint(canvas);
        opens.push_back(elapsed_ms(start));
        if (shown == nullptr || drawn.empty()) {
            std::fprintf(stderr, "the menu was not drawn\n");
            return 1;
        }
        const ui::Rect& entry = shown->item_at(4)->pos();  // the macro submenu's entry
        start = Clock::now();
        manager.mouse_move((entry.left + entry.right) / 2, (entry.top + entry.bottom) / 2);
        manager.paint(canvas);
        submenus.push_back(elapsed_ms(start));
        if (manager.overlay_count() != 2) {
            std::fprintf(stderr, "the macro submenu did not open\n");
            return 1;
        }
        manager.close_all_overlays();
        manager.mouse_move(1000, 690);
        manager.paint(canvas);
    }
    std::printf("function menu on the main window layout, 15 macros, median of 25\n");
    std::printf("  click to first menu frame   %8.3f ms   (target < 16 ms; first %.3f ms)\n",
                median(opens), opens.front());
    std::printf("  macro submenu frame         %8.3f ms   (first %.3f ms)\n", median(submenus),
                submenus.front());
    return 0;
}
