// Windows shows every window through SDL's window surface.
#include "platform/sdl/native_presenter.h"

namespace talvoro::platform::sdl {

std::unique_ptr<NativePresenter> make_native_presenter(SDL_Window*) {
    return nullptr;
}

}  // namespace talvoro::platform::sdl
