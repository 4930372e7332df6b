#include "layouts/layout_table.h"

#include <filesystem>

namespace talvoro::layouts {

namespace {

constexpr std::array<LayoutEntry, 9> kLayouts = {{
    {kMainWindowLayout, "main_window.xml"},
    {kMainControlPageLayout, "main_control_page.xml"},
    {kPerformancePageLayout, "performance_page.xml"},
    {kMacroPageLayout, "macro_page.xml"},
    {kSupportPageLayout, "support_page.xml"},
    {kMacroPlayOptionPopupLayout, "macro_play_option_popup.xml"},
    {kMessageBoxPopupLayout, "message_box_popup.xml"},
    {kKeyEntryPopupLayout, "key_entry_popup.xml"},
    {kConfirmationPopupLayout, "confirmation_popup.xml"},
}};

}  // namespace

const std::array<LayoutEntry, 9>& layout_table() {
    return kLayouts;
}

std::string_view layout_file_name(int resource_id) {
    for (const LayoutEntry& entry : kLayouts) {
        if (entry.resource_id == resource_id) {
            return entry.file_name;
        }
    }
    return {};
}

std::string layout_path(std::string_view resources_folder, int resource_id) {
    const std::string_view file = layout_file_name(resource_id);
    if (file.empty()) {
        return {};
    }
    // operator/ keeps a single separator whether or not the folder ends with one.
    std::filesystem::path path(resources_folder);
    path /= kLayoutFolder;
    path /= file;
    return path.string();
}

}  // namespace talvoro::layouts
