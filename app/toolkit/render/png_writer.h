// PNG files of canvases and pictures, for tests and snapshots.
#pragma once

#include <optional>
#include <string>

#include "render/image.h"

namespace talvoro::ui {

bool write_png(const Image& image, const std::string& path);
std::optional<Image> read_png(const std::string& path);

}  // namespace talvoro::ui
