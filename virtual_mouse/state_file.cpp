#include "state_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "atomic_file.h"
#include "factory_images.h"
#include "file_reading.h"

namespace talvoro::virtual_mouse {

LoadedState load_state_file(const std::string& path, uint16_t factory_version) {
    // One byte more than a state file, so that a longer file shows and is refused.
    std::vector<uint8_t> bytes(kStateFileSize + 1);
    const FileReadResult read = read_file_prefix(path, bytes.data(), bytes.size());
    if (read.status != FileReadStatus::kCannotOpen) {
        bytes.resize(read.size);
        if (auto state = decode_state(bytes))
            return {std::move(*state), false};
    }
    return {factory_state(factory_version), true};
}

bool save_state_file(const std::string& path, const MouseState& state, std::string* error) {
    const std::vector<uint8_t> bytes = encode_state(state);
    if (write_file_atomically(path, bytes.data(), bytes.size()))
        return true;
    if (error != nullptr)
        *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
}

}  // namespace talvoro::virtual_mouse
