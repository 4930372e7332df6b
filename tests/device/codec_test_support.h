// Builders for the codec tests: zeroed store and records on the heap, and
// steps written as the recorder and the pages write them.
//
// The store is packed, so its integers may sit at odd addresses; tests
// compare them as values (+field), never through a reference.
#pragma once

#include <cstdio>
#include <cstring>
#include <memory>

#include "device/profile_codec.h"
#include "store/profile_store.h"

namespace talvoro::test {

inline std::unique_ptr<ProfileStore> zeroed_store() {
    auto store = std::make_unique<ProfileStore>();
    std::memset(store.get(), 0, sizeof(ProfileStore));
    return store;
}

inline std::unique_ptr<DeviceRecords> zeroed_records() {
    auto records = std::make_unique<DeviceRecords>();
    std::memset(records->data(), 0, sizeof(ProfileRecord) * records->size());
    return records;
}

inline void add_step(MacroRecord& macro, const char* kind, const char* text, const char* action) {
    MacroStep& step = macro.steps[macro.step_count++];
    std::snprintf(step.kind, sizeof step.kind, "%s", kind);
    std::snprintf(step.text, sizeof step.text, "%s", text);
    std::snprintf(step.action, sizeof step.action, "%s", action);
}

}  // namespace talvoro::test
