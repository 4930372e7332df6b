#include "render/image_cache.h"

#include <algorithm>

#include "render/image_prefetch.h"

namespace talvoro::ui {

ImageCache::ImageCache(std::string base_folder) : base_folder_(std::move(base_folder)) {}

std::string picture_file_at_density(const std::string& file, int density) {
    if (density <= 1) {
        return file;
    }
    const size_t slash = file.find_last_of("/\\");
    const size_t dot = file.rfind('.');
    const size_t stem_end =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? dot : file.size();
    return file.substr(0, stem_end) + "@" + std::to_string(density) + "x.png";
}

std::shared_ptr<const Image> ImageCache::load_file(const std::string& file,
                                                   std::optional<uint32_t> mask) const {
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
    if (mask) {
        image->apply_color_key(Color::from_argb(*mask));
    }
    return std::make_shared<const Image>(std::move(*image));
}

CachedPicture ImageCache::load(const Key& key) const {
    const auto& [file, mask, density] = key;
    if (density > 1) {
        if (auto image = load_file(picture_file_at_density(file, density), mask)) {
            return CachedPicture{std::move(image), density};
        }
    }
    return CachedPicture{load_file(file, mask), 1};
}

CachedPicture ImageCache::get(const std::string& file, std::optional<Color> mask, int density) {
    if (file.empty()) {
        return {};
    }
    // Only the RGB of a colour key matters.
    Key key{file, mask ? std::optional<uint32_t>(mask->argb() & 0xFFFFFFu) : std::nullopt,
            std::max(1, density)};
    auto found = entries_.find(key);
    if (found != entries_.end()) {
        return found->second;
    }
    CachedPicture picture = load(key);
    entries_.emplace(std::move(key), picture);
    return picture;
}

void ImageCache::reload_all() {
    for (auto& [key, picture] : entries_) {
        picture = load(key);
    }
}

}  // namespace talvoro::ui
