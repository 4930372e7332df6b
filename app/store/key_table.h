// The keys a button or a macro step can send: Windows virtual-key code, USB
// HID keyboard usage and display name. Display names carry one leading and
// one trailing blank (" A ", " Page Down "), which are part of the name
// wherever it is stored or compared.
#pragma once

#include <cstdint>
#include <span>

namespace talvoro {

struct KeyRow {
    uint16_t virtual_key;  // 0 only in the end row
    uint16_t usage;
    const char* name;
};

// The 104 keys, followed by the end row (virtual key 0).
std::span<const KeyRow> key_table_with_end();
// The 104 keys alone.
std::span<const KeyRow> key_table();

// Lookups; each returns null when no key matches.
const KeyRow* key_by_virtual_key(int32_t virtual_key);
const KeyRow* key_by_usage(uint16_t usage);
const KeyRow* key_by_name(const char* name);

}  // namespace talvoro
