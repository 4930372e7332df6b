// BMP files, the form the program loads its mask and button pictures in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/image.h"

namespace talvoro::skins {

// The whole file: headers and bottom-up BGR rows padded to four bytes; alpha is dropped. A
// picture of pure black and pure white only (a mask) is written with one bit a pixel.
// Empty when the picture is empty or larger than the image limits allow.
std::vector<uint8_t> encode_bmp(const ui::Image& image);
// False when encoding or writing fails.
bool write_bmp(const ui::Image& image, const std::string& path);

}  // namespace talvoro::skins
