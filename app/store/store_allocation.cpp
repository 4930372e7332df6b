#include "store/store_allocation.h"

#include <type_traits>

namespace talvoro {

// Plain bytes: memory from calloc holds a valid store as it is.
static_assert(std::is_trivially_default_constructible_v<ProfileStore> &&
              std::is_trivially_destructible_v<ProfileStore>);

ProfileStorePtr allocate_zeroed_store() {
    return ProfileStorePtr(static_cast<ProfileStore*>(std::calloc(1, sizeof(ProfileStore))));
}

}  // namespace talvoro
