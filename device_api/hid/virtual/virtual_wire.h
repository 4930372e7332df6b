// Wire format between the library's virtual backend and a virtual mouse.
//
// A virtual mouse serves each of its HID interfaces on a Unix-domain
// SOCK_SEQPACKET socket in the virtual-HID folder; a socket appearing is a
// plug-in and its removal an unplug. Every request is one packet and is
// answered by exactly one packet; 16-bit numbers are little-endian.
//
//   request                                  reply
//   kInfo                                    kOk, vendor(2), product(2), version(2), descriptor...
//   kSetFeature, report...                   kOk | kFailed
//   kGetFeature, length(2), report id        kOk, report (length bytes) | kFailed
//
// kFailed plays the part of a failing HIDIOCSFEATURE / HIDIOCGFEATURE call
// (unknown report id, wrong length). A closed connection is an unplug.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace talvoro::hid::virtual_wire {

enum Op : uint8_t { kInfo = 1, kSetFeature = 2, kGetFeature = 3 };
enum Reply : uint8_t { kFailed = 0, kOk = 1 };

// Largest packet either side sends: the info reply with a descriptor as long
// as a hidraw node's may be (4096 bytes); every feature report is shorter.
inline constexpr size_t kMaxPacket = 1 + 3 * 2 + 4096;
// File-name ending of the interface sockets in the folder.
inline constexpr const char* kSocketSuffix = ".hid";

inline void put_u16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}
inline uint16_t get_u16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

// The virtual-HID folder: $TALVORO_HID_DIR, else $XDG_RUNTIME_DIR/talvoro-hid,
// else /tmp/talvoro-hid-<uid>. No trailing slash.
std::string default_folder();

// True when `folder` is a directory owned by this user that no one else may
// write to. Anything else (missing, a file, planted by another user, group or
// world writable) is not trusted, and `why` says which.
bool folder_is_trusted(const std::string& folder, std::string* why);

}  // namespace talvoro::hid::virtual_wire
