// Decoded skin pictures, keyed by file and colour key, relative to the skin folder.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "render/color.h"
#include "render/image.h"

namespace talvoro::ui {

class ImageCache {
  public:
    explicit ImageCache(std::string base_folder = {});

    const std::string& base_folder() const { return base_folder_; }
    // Takes effect for later loads; call reload_all() to refresh what is cached.
    void set_base_folder(std::string folder) { base_folder_ = std::move(folder); }

    // nullptr when the file cannot be loaded (the failure is cached too, until reload_all).
    // Absolute paths are used as they are.
    std::shared_ptr<const Image> get(const std::string& file, std::optional<Color> mask = {});

    // Loads every cached entry again from the current base folder; holders of old pictures
    // keep them alive until they let go.
    void reload_all();
    void clear() { entries_.clear(); }
    size_t size() const { return entries_.size(); }

  private:
    using Key = std::pair<std::string, std::optional<uint32_t>>;
    std::shared_ptr<const Image> load(const Key& key) const;

    std::string base_folder_;
    std::map<Key, std::shared_ptr<const Image>> entries_;
};

}  // namespace talvoro::ui
