// The mouse's feature-report protocol: report ids and lengths, command codes,
// framing offsets and the fixed waits, and what the mouse holds. Shared by the
// library (host side), the virtual mouse (device side) and the program's
// store, so all speak from one table. The image layout is in
// profile_image_layout.h.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

#include "talvoro_api.h"

namespace talvoro::protocol {

using std::chrono::milliseconds;

// Configuration interface identification, tested in this order.
inline constexpr uint16_t kUsagePage = 0xFF01;
inline constexpr uint16_t kUsage = 0x0002;
inline constexpr uint16_t kVendorId = TALVORO_VENDOR_ID;
inline constexpr uint16_t kProductId = TALVORO_PRODUCT_ID;

// Feature reports: id and length including the id byte.
inline constexpr uint8_t kCommandReport = 0x60;
inline constexpr size_t kCommandLength = 64;
inline constexpr uint8_t kBulkReport = 0x61;
inline constexpr size_t kBulkLength = 1041;
inline constexpr uint8_t kControlReport = 0x03;
inline constexpr size_t kControlLength = 8;
inline constexpr uint8_t kFlashReport = 0x05;
inline constexpr size_t kFlashLength = 1025;

// Framing of the command and bulk reports.
inline constexpr size_t kCodeByte = 1;  // request: command code; reply: status
inline constexpr size_t kArgSlot = 5;   // first argument
inline constexpr size_t kArgChunk = 6;  // second argument
inline constexpr size_t kPayload = 16;  // payload start
inline constexpr size_t kChunkSize = 1024;
inline constexpr uint8_t kStatusDone = 1;

// Command codes on the command report (the profile write travels on the bulk report).
inline constexpr uint8_t kCmdFirmware = 0x02;
inline constexpr uint8_t kCmdGetProfile = 0x03;
inline constexpr uint8_t kCmdSetProfile = 0x04;
inline constexpr uint8_t kCmdReadChunk = 0x07;
inline constexpr uint8_t kCmdWriteChunk = 0x08;
inline constexpr uint8_t kCmdLedBlackOut = 0x30;
inline constexpr uint8_t kCmdLedBlackOutOff = 0x31;

// Reply bytes of the firmware command.
inline constexpr size_t kFirmwareLow = 16;
inline constexpr size_t kFirmwareSecond = 55;
inline constexpr size_t kFirmwareThird = 54;
inline constexpr size_t kProfileSlotByte = 16;

// Control report requests (byte 1) and statuses.
inline constexpr uint8_t kControlDriverOn = 0x10;
inline constexpr uint8_t kControlFlashRead = 0xF1;
inline constexpr size_t kControlFlashBlockByte = 4;
inline constexpr uint8_t kControlDone = 1;
inline constexpr uint8_t kControlBusy = 3;
inline constexpr int kControlPolls = 10;

// Fixed waits between a request and its reply. The mouse's reply is not
// valid before they have passed.
inline constexpr milliseconds kWaitFwInfo{20};
inline constexpr milliseconds kWaitFwVersion{10};
inline constexpr milliseconds kWaitGetProfile{10};
inline constexpr milliseconds kWaitSetProfile{300};
inline constexpr milliseconds kWaitReadChunk{100};
inline constexpr milliseconds kWaitWriteChunk{60};
inline constexpr milliseconds kWaitLed{10};
inline constexpr milliseconds kWaitFlashBlock{1000};

// Version the firmware reports while it is still starting after plug-in.
inline constexpr uint16_t kFirmwareStarting = 0xCCCC;

// What the mouse holds: five profile slots (0..4), each with buttons 1..11,
// then the wheel's up and down entries, and four resolution levels of an X
// and a Y value.
inline constexpr size_t kProfileSlots = 5;
inline constexpr size_t kButtons = 11;
inline constexpr size_t kWheelUpEntry = kButtons;
inline constexpr size_t kWheelDownEntry = kButtons + 1;
static_assert(kWheelDownEntry + 1 == TALVORO_BUTTON_ENTRIES, "the wheel entries end the table");
inline constexpr size_t kResolutionLevels = 4;
inline constexpr size_t kResolutionValues = 2 * kResolutionLevels;  // level 1 X, level 1 Y, ...
static_assert(sizeof(ProfileRecord::cpi) == kResolutionValues * sizeof(uint16_t),
              "the record carries every resolution value");
inline constexpr uint8_t kTopAngleSnapping = 10;  // angle snapping runs 0..10

// Device function type of a button entry that plays a macro.
inline constexpr uint8_t kFunctionMacro = 0x03;

}  // namespace talvoro::protocol
