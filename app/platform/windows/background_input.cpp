// The recorder's input on Windows: raw input from the keyboard and the mouse with RIDEV_INPUTSINK,
// so keys typed into another program are recorded too. Registered only while a recording runs,
// so the program never sees the desktop's input otherwise. WM_INPUT reaches the window's queue;
// SDL's message hook sees it on the window's thread before SDL does.
#include "platform/background_input.h"

#include <SDL2/SDL.h>
#include <windows.h>

#include <array>
#include <vector>

#include "platform/windows/native_window.h"
#include "platform/windows/raw_input_translation.h"

namespace talvoro::platform {
namespace {

// Usage page 1 (generic desktop): usage 2 the mouse, usage 6 the keyboard.
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr USHORT kKeyboardUsage = 0x06;

struct Receiver {
    HWND window = nullptr;
    const ui::CWindowWnd* owner = nullptr;
    BackgroundInputSink sink;
};

Receiver& receiver() {
    static Receiver instance;
    return instance;
}

bool register_devices(HWND target, DWORD flags) {
    std::array<RAWINPUTDEVICE, 2> devices{{
        {kGenericDesktop, kMouseUsage, flags, target},
        {kGenericDesktop, kKeyboardUsage, flags, target},
    }};
    return RegisterRawInputDevices(devices.data(), static_cast<UINT>(devices.size()),
                                   sizeof(RAWINPUTDEVICE)) != FALSE;
}

// In the window's logical pixels, as its messages carry points.
intptr_t pointer_in_client(HWND window, const ui::CWindowWnd& owner) {
    POINT point{};
    if (GetCursorPos(&point) == FALSE || ScreenToClient(window, &point) == FALSE) {
        // Far outside the window, so no control of it counts as under the pointer.
        return ui::make_point_param(-30000, -30000);
    }
    const ui::Point logical = owner.scale().to_logical(ui::Point{point.x, point.y});
    return ui::make_point_param(logical.x, logical.y);
}

void deliver(const Receiver& receiver, const RAWINPUT& input) {
    std::optional<windows::TranslatedInput> translated;
    intptr_t lparam = 0;
    if (input.header.dwType == RIM_TYPEKEYBOARD) {
        translated =
            windows::translate_raw_key(input.data.keyboard.Message, input.data.keyboard.VKey);
    } else if (input.header.dwType == RIM_TYPEMOUSE) {
        translated = windows::translate_raw_mouse(input.data.mouse.usButtonFlags,
                                                  input.data.mouse.usButtonData);
        lparam = pointer_in_client(receiver.window, *receiver.owner);
    }
    if (translated) {
        receiver.sink(translated->msg, translated->wparam, lparam);
    }
}

void SDLCALL on_message(void*, void* hwnd, unsigned int message, Uint64, Sint64 lparam) {
    Receiver& current = receiver();
    if (message != WM_INPUT || current.window == nullptr ||
        static_cast<HWND>(hwnd) != current.window) {
        return;
    }
    const auto handle = reinterpret_cast<HRAWINPUT>(static_cast<intptr_t>(lparam));
    UINT size = 0;
    if (GetRawInputData(handle, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 ||
        size < sizeof(RAWINPUTHEADER)) {
        return;
    }
    // A record may be longer than RAWINPUT (a HID device's data follows it); ours are not, but
    // the buffer is the size Windows asks for, aligned for the structure.
    std::vector<RAWINPUT> buffer((size + sizeof(RAWINPUT) - 1) / sizeof(RAWINPUT));
    UINT read = size;
    if (GetRawInputData(handle, RID_INPUT, buffer.data(), &read, sizeof(RAWINPUTHEADER)) != size) {
        return;
    }
    deliver(current, buffer.front());
}

}  // namespace

bool start_background_input(const ui::CWindowWnd& window, BackgroundInputSink sink) {
    stop_background_input();
    const HWND target = native_window(&window);
    if (target == nullptr || !register_devices(target, RIDEV_INPUTSINK)) {
        return false;
    }
    receiver() = Receiver{target, &window, std::move(sink)};
    SDL_SetWindowsMessageHook(on_message, nullptr);
    return true;
}

void stop_background_input() {
    Receiver& current = receiver();
    if (current.window == nullptr) {
        return;
    }
    SDL_SetWindowsMessageHook(nullptr, nullptr);
    // Removing takes no target window.
    register_devices(nullptr, RIDEV_REMOVE);
    current = Receiver{};
}

}  // namespace talvoro::platform
