#include "drawn_skins.h"

#include <filesystem>

#include "support/program_run.h"

namespace talvoro::skins::test {

std::string skins_root() {
    return ::talvoro::test::built_folder();
}

std::string skin_path(const std::string& folder, const std::string& picture) {
    return skins_root() + folder + "/" + picture;
}

std::optional<ui::Image> load_skin_picture(const std::string& folder, const std::string& picture) {
    return ui::load_image_file(skin_path(folder, picture));
}

std::set<std::string> skin_files(const std::string& root, const std::string& folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(root) / folder, error)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

}  // namespace talvoro::skins::test
