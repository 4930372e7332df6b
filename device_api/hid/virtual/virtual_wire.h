// Wire format between the library's virtual backend and a virtual mouse.
//
// A virtual mouse serves each of its HID interfaces on a connection of
// packets: on Linux a Unix-domain SOCK_SEQPACKET socket in the virtual-HID
// folder, on Windows a message-mode named pipe that a file in that folder
// names (Windows cannot list pipes everywhere). Either way the file appearing
// is a plug-in and its removal an unplug. Every request is one packet and is
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
#include <string_view>

namespace talvoro::hid::virtual_wire {

enum Op : uint8_t { kInfo = 1, kSetFeature = 2, kGetFeature = 3 };
enum Reply : uint8_t { kFailed = 0, kOk = 1 };

// Largest packet either side sends: the info reply with a descriptor as long
// as a hidraw node's may be (4096 bytes); every feature report is shorter.
inline constexpr size_t kMaxPacket = 1 + 3 * 2 + 4096;
// File-name ending of the interface files (sockets or pipe announcements) in the folder.
inline constexpr const char* kSocketSuffix = ".hid";

// Whether `name` (a file name or a path) is an interface file's: something, then the suffix.
inline bool is_interface_file_name(std::string_view name) {
    const std::string_view suffix = kSocketSuffix;
    return name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}
// How long a host waits for a reply before it takes the mouse for gone: a virtual mouse that
// stops answering must not hang its caller for ever.
inline constexpr int kReplyTimeoutSeconds = 5;

inline void put_u16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8);
}
inline uint16_t get_u16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

// What a kInfo reply carries.
struct InfoReply {
    uint16_t vendor_id = 0;
    uint16_t product_id = 0;
    uint16_t version = 0;
    const uint8_t* descriptor = nullptr;  // points into the reply
    size_t descriptor_length = 0;
};

// Decodes a kInfo reply; false when it is not one (too short, not kOk).
bool decode_info_reply(const uint8_t* reply, size_t length, InfoReply* out);
// The kGetFeature request for `length` bytes of report `report_id`; its length is 4.
inline constexpr size_t kGetFeatureRequestLength = 4;
void encode_get_feature(uint8_t* request, uint8_t report_id, uint16_t length);

// Each system's own (under linux/ and windows/):

// The virtual-HID folder, no trailing separator. Linux: $TALVORO_HID_DIR, else
// $XDG_RUNTIME_DIR/talvoro-hid, else /tmp/talvoro-hid-<uid>. Windows:
// %TALVORO_HID_DIR%, else %LOCALAPPDATA%\talvoro-hid, else talvoro-hid in the
// temporary folder.
std::string default_folder();

// True when `folder` may be trusted with the mouse's files; `why` says why
// not. Linux: a directory owned by this user that no one else may write to
// (not missing, a file, planted by another user, group or world writable).
// Windows: a real directory, not a link (reparse point) to elsewhere.
bool folder_is_trusted(const std::string& folder, std::string* why);

}  // namespace talvoro::hid::virtual_wire
