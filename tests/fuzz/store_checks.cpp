#include "store_checks.h"

#include <cstdio>
#include <memory>

#include "cli/store_report.h"
#include "device/profile_codec.h"
#include "fuzz_support.h"
#include "profile_image.h"

namespace talvoro::fuzz {

void check_macro_store(const MacroStore& macros) {
    const int32_t count = macros.macro_count;
    FUZZ_CHECK(count >= 0 && count <= kMacroLimit);
    for (const MacroRecord& macro : macros.macros) {
        FUZZ_CHECK(terminated(macro.name));
        const int32_t steps = macro.step_count;
        FUZZ_CHECK(steps >= 0 && steps <= kMacroSteps);
        for (const MacroStep& step : macro.steps) {
            FUZZ_CHECK(terminated(step.kind));
            FUZZ_CHECK(terminated(step.text));
            FUZZ_CHECK(terminated(step.action));
        }
    }
}

void check_and_reencode(ProfileStore& store) {
    for (const ProfileBlock& block : store.profiles) {
        FUZZ_CHECK(terminated(block.file_name));
    }
    FUZZ_CHECK(terminated(store.app_version));
    FUZZ_CHECK(terminated(store.fw_version));
    check_macro_store(store.macro_store);

    static std::FILE* nowhere = std::fopen("/dev/null", "w");
    write_store_report(store, nowhere);

    auto records = std::make_unique<DeviceRecords>();
    const uint8_t current = encode_profiles(store, *records);
    FUZZ_CHECK(current >= 1 && current <= kProfileCount);
    auto image = std::make_unique<ProfileImage>();
    for (ProfileRecord& record : *records) {
        if (macros_fit(record)) {
            pack_profile(record, *image);
        }
    }
}

}  // namespace talvoro::fuzz
