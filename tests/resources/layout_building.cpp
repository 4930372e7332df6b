#include "layout_building.h"

#include <map>
#include <string>

#include "core/container.h"
#include "core/option.h"
#include "layouts/layout_table.h"
#include "support/program_run.h"

namespace talvoro::layouts::test {

const std::string& resources_folder() {
    static const std::string kFolder = TALVORO_RESOURCES_DIR;
    return kFolder;
}

std::unique_ptr<ui::CControlUI> build_layout(int resource_id, ui::IDialogBuilderCallback* callback,
                                             ui::CPaintManagerUI* manager) {
    ui::CDialogBuilder builder;
    return builder.create_from_file(layout_path(resources_folder(), resource_id), callback,
                                    manager);
}

std::unique_ptr<ui::CControlUI> PageCallback::create_control(std::string_view name) {
    auto page = std::make_unique<ui::CContainerUI>();
    static const std::map<std::string_view, int> kPages = {
        {"OskelMainControl", kMainControlPageLayout},
        {"OskelPerformance", kPerformancePageLayout},
        {"OskelMacro", kMacroPageLayout},
        {"OskelSupport", kSupportPageLayout}};
    const auto it = kPages.find(name);
    if (with_pages_ && it != kPages.end()) {
        // Only the main control page builds its layout with the callback.
        PageCallback plain(false);
        auto content =
            build_layout(it->second, it->second == kMainControlPageLayout ? &plain : nullptr);
        if (content) {
            page->add(std::move(content));
        }
    }
    if (it == kPages.end()) {
        unknown_.insert(std::string(name));
    }
    return page;
}

std::string skin_folder(const Language& language) {
    return ::talvoro::test::built_folder() + language.folder;
}

bool arrange_macro_page(ui::CPaintManagerUI& manager, const MacroArrangement& arrangement) {
    const std::pair<const char*, std::pair<const char*, std::string>> kSettings[] = {
        {"macro_record_btn", {"width", std::to_string(arrangement.record_width)}},
        {"insert_delay_time_btn", {"width", std::to_string(arrangement.insert_width)}},
        {"edit_delay_time_btn", {"width", std::to_string(arrangement.edit_width)}},
        {"default_delay_time_edit", {"pos", arrangement.default_pos}},
        {"insert_delay_time_edit", {"pos", arrangement.insert_pos}},
        {"edit_delay_time_edit", {"pos", arrangement.edit_pos}},
    };
    bool ok = true;
    for (const auto& [name, setting] : kSettings) {
        ui::CControlUI* control = manager.find_control(name);
        ok = control != nullptr && control->set_attribute(setting.first, setting.second) && ok;
    }
    return ok;
}

BuiltMainWindow::BuiltMainWindow() {
    manager_.image_cache().set_base_folder(skin_folder(kLanguages[0]));
    auto root = build_layout(kMainWindowLayout, &callback_, &manager_);
    if (!root) {
        return;
    }
    manager_.set_root(std::move(root));
    manager_.set_client_size(ui::Size{kWindowWidth, kWindowHeight});
    tabs_ = dynamic_cast<ui::CTabLayoutUI*>(manager_.find_control("Tabs"));
}

void BuiltMainWindow::show_page(int index) {
    static const char* const kTabs[] = {"maincontrolbtn", "performancebtn", "macromanagebtn",
                                        "techsupportbtn"};
    if (auto* tab = dynamic_cast<ui::COptionUI*>(manager_.find_control(kTabs[index]))) {
        tab->selected(true, false);
    }
    if (tabs_ != nullptr) {
        tabs_->select_item(index);
    }
    manager_.invalidate_all();
    manager_.paint(canvas_);
}

void BuiltMainWindow::use_language(const Language& language) {
    manager_.image_cache().set_base_folder(skin_folder(language));
    manager_.image_cache().reload_all();
    manager_.set_default_font(language.default_font);
    const bool german = std::string_view(language.folder) == "TalvoroSkin3";
    arrange_macro_page(manager_, german ? kGermanArrangement : kNarrowArrangement);
}

}  // namespace talvoro::layouts::test
