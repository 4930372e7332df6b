// Wayland: the window's pixels go to the compositor in shared-memory buffers of our own,
// attached to SDL's surface. SDL's window surface there is drawn in points and blown up by the
// compositor, and has no alpha; these buffers are the output's pixels, premultiplied ARGB, and
// transparent outside the window's shape, which also bounds where the window takes clicks.
// X11 needs none of it: SDL's window surface and the X Shape extension serve there.
#include "platform/sdl/native_presenter.h"

#include <SDL2/SDL_syswm.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

namespace talvoro::platform::sdl {
namespace {

// Buffers the compositor may hold at once before a present waits for one back.
constexpr size_t kMaxBuffers = 3;

class WaylandPresenter : public NativePresenter {
  public:
    WaylandPresenter(wl_display* display, wl_surface* surface)
        : display_(display), surface_(surface) {}
    ~WaylandPresenter() override;
    WaylandPresenter(const WaylandPresenter&) = delete;
    WaylandPresenter& operator=(const WaylandPresenter&) = delete;

    // False when the compositor offers no shared memory.
    bool connect();
    bool present(const ui::Image& image, const std::vector<ui::Rect>& rects,
                 int units_scale) override;
    void set_shape(const std::vector<ui::Rect>& opaque) override;

    // Listener callbacks.
    static void on_global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                          uint32_t version);
    static void on_global_remove(void*, wl_registry*, uint32_t) {}
    static void on_release(void* data, wl_buffer* buffer);

  private:
    struct Buffer {
        wl_buffer* buffer = nullptr;
        void* pixels = nullptr;
        size_t bytes = 0;
        int width = 0;
        int height = 0;
        bool busy = false;
    };

    Buffer* free_buffer(int width, int height);
    bool add_buffer(int width, int height);
    void drop_buffer(Buffer& buffer);
    void copy_pixels(const ui::Image& image, Buffer& buffer);
    void set_regions(int units_scale);

    wl_display* display_;
    wl_surface* surface_;
    wl_event_queue* queue_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_shm* shm_ = nullptr;
    wl_compositor* compositor_ = nullptr;
    std::vector<Buffer> buffers_;
    std::vector<ui::Rect> shape_;
    // One byte a pixel, 1 inside the shape; rebuilt when the shape or the size changes.
    std::vector<uint8_t> inside_;
    ui::Size inside_size_;
    bool input_region_stale_ = true;
};

const wl_registry_listener kRegistryListener = {WaylandPresenter::on_global,
                                                WaylandPresenter::on_global_remove};
const wl_buffer_listener kBufferListener = {WaylandPresenter::on_release};

}  // namespace

void WaylandPresenter::on_global(void* data, wl_registry* registry, uint32_t name,
                                 const char* interface, uint32_t version) {
    auto* self = static_cast<WaylandPresenter*>(data);
    const std::string_view offered(interface);
    if (offered == wl_shm_interface.name && self->shm_ == nullptr) {
        self->shm_ = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (offered == wl_compositor_interface.name && self->compositor_ == nullptr) {
        self->compositor_ = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 3u)));
    }
}

void WaylandPresenter::on_release(void* data, wl_buffer* buffer) {
    auto* self = static_cast<WaylandPresenter*>(data);
    for (Buffer& held : self->buffers_) {
        if (held.buffer == buffer) {
            held.busy = false;
        }
    }
}

bool WaylandPresenter::connect() {
    // Our own queue: SDL dispatches the default one, and these events are ours to take.
    queue_ = wl_display_create_queue(display_);
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display_));
    if (queue_ == nullptr || wrapper == nullptr) {
        return false;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue_);
    registry_ = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    if (registry_ == nullptr) {
        return false;
    }
    wl_registry_add_listener(registry_, &kRegistryListener, this);
    return wl_display_roundtrip_queue(display_, queue_) >= 0 && shm_ != nullptr;
}

WaylandPresenter::~WaylandPresenter() {
    for (Buffer& buffer : buffers_) {
        drop_buffer(buffer);
    }
    if (shm_ != nullptr) {
        wl_shm_destroy(shm_);
    }
    if (compositor_ != nullptr) {
        wl_compositor_destroy(compositor_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    if (queue_ != nullptr) {
        wl_display_flush(display_);
        wl_event_queue_destroy(queue_);
    }
}

void WaylandPresenter::drop_buffer(Buffer& buffer) {
    if (buffer.buffer != nullptr) {
        wl_buffer_destroy(buffer.buffer);
    }
    if (buffer.pixels != nullptr) {
        munmap(buffer.pixels, buffer.bytes);
    }
    buffer = Buffer{};
}

bool WaylandPresenter::add_buffer(int width, int height) {
    const size_t stride = static_cast<size_t>(width) * 4;
    const size_t bytes = stride * static_cast<size_t>(height);
    if (bytes == 0 || bytes > INT32_MAX) {
        return false;
    }
    const int fd = memfd_create("talvoro-window", MFD_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    void* pixels = MAP_FAILED;
    if (ftruncate(fd, static_cast<off_t>(bytes)) == 0) {
        pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    if (pixels == MAP_FAILED) {
        close(fd);
        return false;
    }
    wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<int32_t>(bytes));
    wl_buffer* buffer = wl_shm_pool_create_buffer(
        pool, 0, width, height, static_cast<int32_t>(stride), WL_SHM_FORMAT_ARGB8888);
    wl_shm_pool_destroy(pool);
    close(fd);
    if (buffer == nullptr) {
        munmap(pixels, bytes);
        return false;
    }
    wl_buffer_add_listener(buffer, &kBufferListener, this);
    buffers_.push_back(Buffer{buffer, pixels, bytes, width, height, false});
    return true;
}

WaylandPresenter::Buffer* WaylandPresenter::free_buffer(int width, int height) {
    wl_display_dispatch_queue_pending(display_, queue_);
    // Buffers of another size are of no more use once the compositor gave them back.
    for (auto it = buffers_.begin(); it != buffers_.end();) {
        if (!it->busy && (it->width != width || it->height != height)) {
            drop_buffer(*it);
            it = buffers_.erase(it);
        } else {
            ++it;
        }
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        for (Buffer& buffer : buffers_) {
            if (!buffer.busy && buffer.width == width && buffer.height == height) {
                return &buffer;
            }
        }
        if (buffers_.size() < kMaxBuffers) {
            return add_buffer(width, height) ? &buffers_.back() : nullptr;
        }
        // All held by the compositor: wait for one back.
        if (wl_display_roundtrip_queue(display_, queue_) < 0) {
            return nullptr;
        }
    }
    return nullptr;
}

void WaylandPresenter::set_shape(const std::vector<ui::Rect>& opaque) {
    shape_ = opaque;
    inside_.clear();
    inside_size_ = {};
    input_region_stale_ = true;
}

void WaylandPresenter::copy_pixels(const ui::Image& image, Buffer& buffer) {
    const int width = buffer.width;
    const int height = buffer.height;
    if (!shape_.empty() && (inside_size_.width != width || inside_size_.height != height)) {
        inside_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
        inside_size_ = ui::Size{width, height};
        for (const ui::Rect& r : shape_) {
            const ui::Rect area = r.intersect(ui::Rect{0, 0, width, height});
            for (int y = area.top; y < area.bottom; ++y) {
                std::memset(&inside_[static_cast<size_t>(y) * width + area.left], 1,
                            static_cast<size_t>(area.width()));
            }
        }
    }
    auto* out = static_cast<uint8_t*>(buffer.pixels);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = image.data() + static_cast<size_t>(y) * image.stride();
        const uint8_t* inside = shape_.empty() ? nullptr : &inside_[static_cast<size_t>(y) * width];
        uint8_t* row = out + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = in + static_cast<size_t>(x) * 4;
            const unsigned a = inside == nullptr || inside[x] != 0 ? p[3] : 0;
            // ARGB8888 in memory on a little-endian machine: B, G, R, A; premultiplied.
            row[x * 4 + 0] = static_cast<uint8_t>((p[2] * a + 127) / 255);
            row[x * 4 + 1] = static_cast<uint8_t>((p[1] * a + 127) / 255);
            row[x * 4 + 2] = static_cast<uint8_t>((p[0] * a + 127) / 255);
            row[x * 4 + 3] = static_cast<uint8_t>(a);
        }
    }
}

void WaylandPresenter::set_regions(int units_scale) {
    // SDL marks its windows opaque all over whenever it configures them, which makes the
    // compositor ignore their alpha: each frame takes that back.
    wl_surface_set_opaque_region(surface_, nullptr);
    if (compositor_ == nullptr || !input_region_stale_) {
        return;
    }
    wl_region* region = nullptr;
    if (!shape_.empty()) {
        region = wl_compositor_create_region(compositor_);
        for (const ui::Rect& r : shape_) {
            // Surface coordinates are points; a point partly inside takes the click.
            const int left = r.left / units_scale;
            const int top = r.top / units_scale;
            const int right = (r.right + units_scale - 1) / units_scale;
            const int bottom = (r.bottom + units_scale - 1) / units_scale;
            wl_region_add(region, left, top, right - left, bottom - top);
        }
    }
    wl_surface_set_input_region(surface_, region);
    input_region_stale_ = false;
    if (region != nullptr) {
        wl_region_destroy(region);
    }
}

bool WaylandPresenter::present(const ui::Image& image, const std::vector<ui::Rect>&,
                               int units_scale) {
    // The whole window goes into each buffer: a buffer back from the compositor may be frames
    // behind, and a copy costs little next to drawing.
    Buffer* buffer = free_buffer(image.width(), image.height());
    if (buffer == nullptr) {
        return false;
    }
    copy_pixels(image, *buffer);
    set_regions(units_scale);
    wl_surface_set_buffer_scale(surface_, units_scale);
    wl_surface_attach(surface_, buffer->buffer, 0, 0);
    wl_surface_damage(surface_, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(surface_);
    buffer->busy = true;
    return wl_display_flush(display_) >= 0;
}

std::unique_ptr<NativePresenter> make_native_presenter(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_WAYLAND) {
        return nullptr;
    }
    auto presenter = std::make_unique<WaylandPresenter>(info.info.wl.display, info.info.wl.surface);
    if (!presenter->connect()) {
        return nullptr;
    }
    return presenter;
}

}  // namespace talvoro::platform::sdl
