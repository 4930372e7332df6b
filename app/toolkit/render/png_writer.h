// PNG files of canvases and pictures, for tests and snapshots.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/image.h"

namespace talvoro::ui {

bool write_png(const Image& image, const std::string& path);
// The whole PNG file in memory; empty when the picture is empty or too large.
std::vector<uint8_t> encode_png(const Image& image);
std::optional<Image> read_png(const std::string& path);

}  // namespace talvoro::ui
