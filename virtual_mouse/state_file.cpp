#include "state_file.h"

#include "atomic_file.h"
#include "factory_images.h"

namespace talvoro::virtual_mouse {

LoadedState load_state_file(const std::string& path, uint16_t factory_version) {
    if (const auto bytes = read_file_prefix(path, kStateFileSize)) {
        if (auto state = decode_state(*bytes))
            return {std::move(*state), false};
    }
    return {factory_state(factory_version), true};
}

bool save_state_file(const std::string& path, const MouseState& state, std::string* error) {
    return write_file_atomically(path, encode_state(state), error);
}

}  // namespace talvoro::virtual_mouse
