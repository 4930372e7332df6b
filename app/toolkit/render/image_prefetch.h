// Pictures decoded ahead, on a thread of their own, while the program does other start-up work
// (the display connection takes tens of milliseconds of waiting): the first frame then finds
// its pictures ready instead of decoding them one after another. Image caches take them from
// here; a picture nobody asked for is dropped with discard_prefetched_images().
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "render/image.h"

namespace talvoro::ui {

// Starts decoding `paths` in order, then warms `scratch_bytes` of memory for the first frame's
// other buffers; a second call while the first still runs is ignored.
void prefetch_images(std::vector<std::string> paths, size_t scratch_bytes = 0);

// The decoded picture of `path` when it was asked for ahead: waits if it is still being
// decoded. Nothing when it was not asked for, or did not load (the caller loads it itself, and
// says why). Each picture is handed out once.
std::optional<Image> take_prefetched_image(const std::string& path);

// Waits for the decoding thread and frees what nobody took.
void discard_prefetched_images();

}  // namespace talvoro::ui
