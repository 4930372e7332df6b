// The pictures a layout shows before anyone touches it: backgrounds, fore pictures, the normal
// and selected looks of buttons and options, slider thumbs. Hover, pressed and disabled looks
// are left out. For decoding them ahead of the first frame.
#pragma once

#include <string>
#include <vector>

namespace talvoro::ui {

// File names as the layout writes them (relative to the skin folder), each once, in the
// layout's order; empty for a file that cannot be read or parsed.
std::vector<std::string> layout_picture_files(const std::string& layout_path);

}  // namespace talvoro::ui
