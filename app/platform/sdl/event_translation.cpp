#include "platform/sdl/event_translation.h"

#include <string>

#include "core/window.h"
#include "platform/sdl/sdl_window_backend.h"
#include "platform/sdl/virtual_key_table.h"
#include "platform/sdl/window_registry.h"

namespace talvoro::platform::sdl {
namespace {

using ui::WindowMessage;

// A point in SDL's window units as the window's messages carry it: logical client pixels.
intptr_t point_param(const ui::CWindowWnd& window, int x, int y) {
    const ui::Point point = client_point(window, x, y);
    return ui::make_point_param(point.x, point.y);
}

intptr_t modifier_flags(Uint16 mod) {
    return ((mod & KMOD_SHIFT) != 0 ? ui::kKeyShiftFlag : 0) |
           ((mod & KMOD_CTRL) != 0 ? ui::kKeyControlFlag : 0) |
           ((mod & KMOD_ALT) != 0 ? ui::kKeyAltFlag : 0);
}

bool dispatch_window_event(const SDL_WindowEvent& event, ui::CWindowWnd& window) {
    if (event.event == SDL_WINDOWEVENT_DISPLAY_CHANGED ||
        event.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        // On another output the window may have another scale.
        if (auto* backend = dynamic_cast<SdlWindowBackend*>(window.backend())) {
            backend->refresh_display_scale();
        }
    }
    const int k = units_scale(window);
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            window.close();
            return true;
        case SDL_WINDOWEVENT_MOVED:
            window.platform_moved(ui::Point{event.data1 * k, event.data2 * k});
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window.platform_resized(ui::Size{event.data1 * k, event.data2 * k});
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
            // The display lost what it showed; the canvas still has it.
            if (window.backend() != nullptr) {
                window.backend()->present(window.canvas(), {window.canvas().image().bounds()});
            }
            return true;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            window.send_message(WindowMessage::kActivate, 1);
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            window.send_message(WindowMessage::kActivate, 0);
            return true;
        default:
            return false;
    }
}

}  // namespace

bool dispatch_sdl_event(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEMOTION: {
            ui::CWindowWnd* window = find_window(event.motion.windowID);
            if (window == nullptr)
                return false;
            window->send_message(WindowMessage::kMouseMove, 0,
                                 point_param(*window, event.motion.x, event.motion.y));
            return true;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            ui::CWindowWnd* window = find_window(event.button.windowID);
            if (window == nullptr)
                return false;
            WindowMessage msg = WindowMessage::kButtonUp;
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                msg = event.button.clicks == 2 ? WindowMessage::kDoubleClick
                                               : WindowMessage::kButtonDown;
            }
            // SDL numbers buttons 1 left, 2 middle, 3 right, 4 and 5 the extra buttons, as the
            // messages do.
            window->send_message(msg, event.button.button,
                                 point_param(*window, event.button.x, event.button.y));
            return true;
        }
        case SDL_MOUSEWHEEL: {
            ui::CWindowWnd* window = find_window(event.wheel.windowID);
            if (window == nullptr)
                return false;
            int notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
                notches = -notches;
            // A smooth wheel's part of a notch, or a sideways turn, is no notch.
            if (notches == 0)
                return false;
            window->send_message(WindowMessage::kMouseWheel, ui::make_wheel_param(notches),
                                 point_param(*window, event.wheel.mouseX, event.wheel.mouseY));
            return true;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            ui::CWindowWnd* window = find_window(event.key.windowID);
            const int key = virtual_key_from_sdl(event.key.keysym.sym);
            if (window == nullptr || key == 0)
                return false;
            const bool down = event.type == SDL_KEYDOWN;
            window->send_message(down ? WindowMessage::kKeyDown : WindowMessage::kKeyUp,
                                 static_cast<uintptr_t>(key),
                                 (down && event.key.repeat != 0 ? ui::kKeyRepeatFlag : 0) |
                                     modifier_flags(event.key.keysym.mod));
            return true;
        }
        case SDL_TEXTINPUT: {
            ui::CWindowWnd* window = find_window(event.text.windowID);
            if (window == nullptr)
                return false;
            const std::string text(event.text.text);
            window->send_message(WindowMessage::kTextInput, 0, reinterpret_cast<intptr_t>(&text));
            return true;
        }
        case SDL_WINDOWEVENT: {
            ui::CWindowWnd* window = find_window(event.window.windowID);
            return window != nullptr && dispatch_window_event(event.window, *window);
        }
        default:
            return false;
    }
}

}  // namespace talvoro::platform::sdl
