// Decoded skin pictures, keyed by file, colour key and density, relative to the skin folder.
// A picture drawn at twice the layouts' size sits beside its 1x twin as "Name@2x.png".
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "render/color.h"
#include "render/image.h"

namespace talvoro::ui {

// The file of `file`'s picture drawn `density` times the logical size: "a/B.bmp" at 2 is
// "a/B@2x.png"; density 1 is `file` itself.
std::string picture_file_at_density(const std::string& file, int density);

struct CachedPicture {
    std::shared_ptr<const Image> image;
    // The picture's pixels per logical pixel: 2 when the 2x set had it, else 1.
    int density = 1;
    explicit operator bool() const { return image != nullptr; }
};

class ImageCache {
  public:
    explicit ImageCache(std::string base_folder = {});

    const std::string& base_folder() const { return base_folder_; }
    // Takes effect for later loads; call reload_all() to refresh what is cached.
    void set_base_folder(std::string folder) { base_folder_ = std::move(folder); }

    // The picture at `density` when that set has it, else the 1x one; empty when the file
    // cannot be loaded (the failure is cached too, until reload_all). Absolute paths are used
    // as they are.
    CachedPicture get(const std::string& file, std::optional<Color> mask = {}, int density = 1);

    // Loads every cached entry again from the current base folder; holders of old pictures
    // keep them alive until they let go.
    void reload_all();
    void clear() { entries_.clear(); }
    size_t size() const { return entries_.size(); }

  private:
    using Key = std::tuple<std::string, std::optional<uint32_t>, int>;
    CachedPicture load(const Key& key) const;
    std::shared_ptr<const Image> load_file(const std::string& file,
                                           std::optional<uint32_t> mask) const;
    std::string base_folder_;
    std::map<Key, CachedPicture> entries_;
};

}  // namespace talvoro::ui
