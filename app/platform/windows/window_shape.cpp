// A borderless window's shape on Windows: a window region made of its opaque rectangles.
#include <windows.h>

#include <memory>

#include "platform/sdl/window_shape.h"
#include "platform/windows/native_window.h"

namespace talvoro::platform::sdl {
namespace {

struct RegionDeleter {
    void operator()(HRGN region) const { DeleteObject(region); }
};
using Region = std::unique_ptr<std::remove_pointer_t<HRGN>, RegionDeleter>;

}  // namespace

bool apply_window_shape(SDL_Window* window, const std::vector<ui::Rect>& opaque) {
    const HWND hwnd = native_window(window);
    if (hwnd == nullptr) {
        return false;
    }
    if (opaque.empty()) {
        return SetWindowRgn(hwnd, nullptr, TRUE) != 0;
    }
    Region shape(CreateRectRgn(0, 0, 0, 0));
    for (const ui::Rect& r : opaque) {
        if (r.empty()) {
            continue;
        }
        Region piece(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        if (!shape || !piece ||
            CombineRgn(shape.get(), shape.get(), piece.get(), RGN_OR) == ERROR) {
            return false;
        }
    }
    // The window owns the region from here on.
    if (SetWindowRgn(hwnd, shape.get(), TRUE) == 0) {
        return false;
    }
    static_cast<void>(shape.release());
    return true;
}

bool read_window_shape(SDL_Window* window, std::vector<ui::Rect>& out) {
    const HWND hwnd = native_window(window);
    if (hwnd == nullptr) {
        return false;
    }
    Region shape(CreateRectRgn(0, 0, 0, 0));
    if (!shape || GetWindowRgn(hwnd, shape.get()) == ERROR) {
        return false;
    }
    const DWORD size = GetRegionData(shape.get(), 0, nullptr);
    std::vector<unsigned char> bytes(size);
    auto* data = reinterpret_cast<RGNDATA*>(bytes.data());
    if (size == 0 || GetRegionData(shape.get(), size, data) != size) {
        return false;
    }
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    out.clear();
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        out.push_back(ui::Rect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
    }
    return true;
}

}  // namespace talvoro::platform::sdl
