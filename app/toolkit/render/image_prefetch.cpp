#include "render/image_prefetch.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "render/font_cache.h"

namespace talvoro::ui {
namespace {

struct Prefetch {
    std::mutex mutex;
    std::condition_variable decoded;
    // Paths still to come, in the thread's order.
    std::vector<std::string> pending;
    std::map<std::string, std::optional<Image>, std::less<>> ready;
    std::thread worker;

    ~Prefetch() {
        if (worker.joinable()) {
            worker.join();
        }
    }
};

Prefetch& prefetch() {
    static Prefetch state;
    return state;
}

void decode_all(std::vector<std::string> paths, size_t scratch_bytes) {
    // The first frame needs the text machinery as much as its pictures: the font locator reads its
    // configuration and caches while the display is still connecting. Only the construction
    // happens here; everything else of the font cache stays on the UI thread.
    FontCache::shared();
    Prefetch& state = prefetch();
    for (const std::string& path : paths) {
        std::optional<Image> image = load_image_file(path);
        std::lock_guard lock(state.mutex);
        state.ready.emplace(path, std::move(image));
        std::erase(state.pending, path);
        state.decoded.notify_all();
    }
    // Fresh memory costs a page fault per page on its first touch: take the scratch memory the
    // first frame will want (the window's canvas) from the system now, on this core, and hand
    // it back to the allocator for the UI thread to reuse.
    if (scratch_bytes > 0) {
        if (void* block = std::malloc(scratch_bytes)) {
            std::memset(block, 0, scratch_bytes);
            std::free(block);
        }
    }
}

}  // namespace

void prefetch_images(std::vector<std::string> paths, size_t scratch_bytes) {
    Prefetch& state = prefetch();
    std::lock_guard lock(state.mutex);
    if (state.worker.joinable() || paths.empty()) {
        return;
    }
    state.pending = paths;
    state.worker = std::thread(decode_all, std::move(paths), scratch_bytes);
}

std::optional<Image> take_prefetched_image(const std::string& path) {
    Prefetch& state = prefetch();
    std::unique_lock lock(state.mutex);
    state.decoded.wait(lock, [&] {
        return std::find(state.pending.begin(), state.pending.end(), path) == state.pending.end();
    });
    auto found = state.ready.find(path);
    if (found == state.ready.end()) {
        return std::nullopt;
    }
    // Handed out once: the entry goes, its picture moves to the caller.
    auto node = state.ready.extract(found);
    return std::move(node.mapped());
}

void discard_prefetched_images() {
    Prefetch& state = prefetch();
    if (state.worker.joinable()) {
        state.worker.join();
    }
    std::lock_guard lock(state.mutex);
    state.ready.clear();
}

}  // namespace talvoro::ui
