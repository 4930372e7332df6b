// The program's layout resources: which XML file each resource id names, and where the
// file lies under a resources folder (the program's folder, or the install's share/talvoro/).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace talvoro::layouts {

inline constexpr int kMainWindowLayout = 180;
inline constexpr int kMainControlPageLayout = 181;
inline constexpr int kPerformancePageLayout = 182;
inline constexpr int kMacroPageLayout = 183;
inline constexpr int kSupportPageLayout = 184;
inline constexpr int kMacroPlayOptionPopupLayout = 185;
inline constexpr int kMessageBoxPopupLayout = 186;
inline constexpr int kKeyEntryPopupLayout = 187;
inline constexpr int kConfirmationPopupLayout = 188;

// Folder of the layouts inside a resources folder.
inline constexpr std::string_view kLayoutFolder = "layouts";

struct LayoutEntry {
    int resource_id;
    std::string_view file_name;
};

// Every layout, in resource id order.
const std::array<LayoutEntry, 9>& layout_table();

// The file name of a layout; empty when the id names no layout.
std::string_view layout_file_name(int resource_id);

// "<resources_folder>/layouts/<file>"; empty when the id names no layout. The folder may
// end with a separator or not.
std::string layout_path(std::string_view resources_folder, int resource_id);

}  // namespace talvoro::layouts
