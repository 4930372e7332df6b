#include "applied_state.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "device/profile_codec.h"
#include "profile_image.h"
#include "support/wait_for.h"

namespace talvoro::test {

std::vector<uint8_t> file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::unique_ptr<ProfileStore> wait_for_all_profiles(const std::string& data_folder,
                                                    int timeout_seconds) {
    const std::string path = data_folder + "/profile/AllProfile";
    if (!wait_for([&] { return file_bytes(path).size() == sizeof(ProfileStore); },
                  timeout_seconds)) {
        return nullptr;
    }
    const std::vector<uint8_t> saved = file_bytes(path);
    auto store = std::make_unique<ProfileStore>();
    std::memcpy(store.get(), saved.data(), sizeof(ProfileStore));
    return store;
}

std::string slots_unlike_store(const ProfileStore& store, const std::vector<uint8_t>& state) {
    // The encoding brings the copy into the mouse's limits first, as an apply does.
    auto encoded = std::make_unique<ProfileStore>(store);
    auto records = std::make_unique<DeviceRecords>();
    encode_profiles(*encoded, *records);
    std::string unlike;
    for (size_t slot = 0; slot < records->size(); ++slot) {
        ProfileImage image{};
        pack_profile((*records)[slot], image);
        const size_t start = slot * image.size();
        const bool held = state.size() >= start + image.size() &&
                          std::equal(image.begin(), image.end(), state.begin() + start);
        if (!held) {
            unlike += (unlike.empty() ? "slot " : ", slot ") + std::to_string(slot + 1);
        }
    }
    return unlike;
}

}  // namespace talvoro::test
