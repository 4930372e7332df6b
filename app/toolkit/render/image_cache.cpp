#include "render/image_cache.h"

#include "render/image_prefetch.h"

namespace talvoro::ui {

ImageCache::ImageCache(std::string base_folder) : base_folder_(std::move(base_folder)) {}

std::shared_ptr<const Image> ImageCache::load(const Key& key) const {
    const std::string& file = key.first;
    std::string path = file;
    if (!file.starts_with('/') && !base_folder_.empty()) {
        path = base_folder_ + (base_folder_.ends_with('/') ? "" : "/") + file;
    }
    std::optional<Image> image = take_prefetched_image(path);
    if (!image) {
        image = load_image_file(path);
    }
    if (!image) {
        return nullptr;
    }
    if (key.second) {
        image->apply_color_key(Color::from_argb(*key.second));
    }
    return std::make_shared<const Image>(std::move(*image));
}

std::shared_ptr<const Image> ImageCache::get(const std::string& file, std::optional<Color> mask) {
    if (file.empty()) {
        return nullptr;
    }
    // Only the RGB of a colour key matters.
    Key key{file, mask ? std::optional<uint32_t>(mask->argb() & 0xFFFFFFu) : std::nullopt};
    auto found = entries_.find(key);
    if (found != entries_.end()) {
        return found->second;
    }
    std::shared_ptr<const Image> image = load(key);
    entries_.emplace(std::move(key), image);
    return image;
}

void ImageCache::reload_all() {
    for (auto& [key, image] : entries_) {
        image = load(key);
    }
}

}  // namespace talvoro::ui
