// The four skin folders the build draws beside the test programs (the talvoro_skins target).
#pragma once

#include <array>
#include <optional>
#include <set>
#include <string>

#include "render/image.h"

namespace talvoro::skins::test {

inline constexpr std::array<const char*, 4> kSkinFolders{"TalvoroSkin", "TalvoroSkin1",
                                                         "TalvoroSkin2", "TalvoroSkin3"};

// The folder beside the test programs that holds the skin folders.
std::string skins_root();
std::string skin_path(const std::string& folder, const std::string& picture);
// Through the toolkit's own loader, as the program loads skins.
std::optional<ui::Image> load_skin_picture(const std::string& folder, const std::string& picture);
// The file names in a skin folder under `root`.
std::set<std::string> skin_files(const std::string& root, const std::string& folder);

}  // namespace talvoro::skins::test
