// Per-monitor DPI (the manifest declares the program per-monitor aware, version 2): the window's
// DPI when it is created, and WM_DPICHANGED, which Windows sends (not posts, so SDL's message hook
// never sees it) when the window reaches a monitor of another scale. A subclass of the window
// procedure takes it before SDL, which would otherwise resize the window by its own rules.
#include "platform/sdl/display_scale_watch.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

#include "core/window.h"
#include "platform/windows/native_window.h"

namespace talvoro::platform::sdl {
namespace {

constexpr UINT_PTR kSubclassId = 0x7A1D;
constexpr double kBaseDpi = USER_DEFAULT_SCREEN_DPI;

LRESULT CALLBACK on_message(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                            DWORD_PTR data) {
    if (message != WM_DPICHANGED) {
        return DefSubclassProc(hwnd, message, wparam, lparam);
    }
    auto* window = reinterpret_cast<ui::CWindowWnd*>(data);
    window->platform_scale(LOWORD(wparam) / kBaseDpi);
    // Where Windows suggests, which keeps the window under the pointer that moved it; the size
    // is the window's own at its new scale.
    const auto* suggested = reinterpret_cast<const RECT*>(lparam);
    const ui::Rect& now = window->rect();
    window->move(ui::Rect{suggested->left, suggested->top, suggested->left + now.width(),
                          suggested->top + now.height()});
    return 0;
}

}  // namespace

void watch_display_scale(SDL_Window* sdl_window, ui::CWindowWnd& window) {
    const HWND hwnd = native_window(sdl_window);
    if (hwnd == nullptr) {
        return;
    }
    if (const UINT dpi = GetDpiForWindow(hwnd); dpi != 0) {
        window.platform_scale(dpi / kBaseDpi);
    }
    SetWindowSubclass(hwnd, on_message, kSubclassId, reinterpret_cast<DWORD_PTR>(&window));
}

void stop_watching_display_scale(SDL_Window* sdl_window) {
    if (const HWND hwnd = native_window(sdl_window); hwnd != nullptr) {
        RemoveWindowSubclass(hwnd, on_message, kSubclassId);
    }
}

}  // namespace talvoro::platform::sdl
