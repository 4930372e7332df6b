// Read_profile and Write_profile: one slot's image in two 1024-byte chunks.
// All working buffers are on the stack; nothing is allocated per transfer.
#include <cstring>

#include "command_exchange.h"
#include "profile_image.h"
#include "sleep.h"

namespace talvoro {
namespace {

namespace p = protocol;
using BulkReport = std::array<uint8_t, p::kBulkLength>;

}  // namespace
}  // namespace talvoro

using namespace talvoro;

extern "C" {

QxStatus Read_profile(int slot, ProfileRecord* record) {
    ProfileImage image{};
    BulkReport reply{};
    for (size_t chunk = 0; chunk < p::kImageChunks; ++chunk) {
        CommandReport request{};
        request[0] = p::kCommandReport;
        request[p::kCodeByte] = p::kCmdReadChunk;
        request[p::kArgSlot] = static_cast<uint8_t>(slot & 0xFF);
        request[p::kArgChunk] = static_cast<uint8_t>(chunk);
        if (SetFeature(request.data(), static_cast<int>(request.size())) == 0) {
            return QX_STATUS_TRANSPORT;
        }
        protocol_sleep(p::kWaitReadChunk);
        reply[0] = p::kBulkReport;
        if (GetFeature(reply.data(), static_cast<int>(reply.size())) == 0) {
            return QX_STATUS_TRANSPORT;
        }
        if (reply[p::kCodeByte] != p::kStatusDone)
            return QX_STATUS_REFUSED;
        std::memcpy(&image[chunk * p::kChunkSize], &reply[p::kPayload], p::kChunkSize);
    }
    if (record != nullptr)
        unpack_profile(image, *record);
    return QX_STATUS_DONE;
}

QxStatus Write_profile(int /*slot: the record's own profile_index is the target*/,
                       ProfileRecord* record) {
    if (record == nullptr || !macros_fit(*record))
        return QX_STATUS_REJECTED;
    ProfileImage image;
    pack_profile(*record, image);
    for (size_t chunk = 0; chunk < p::kImageChunks; ++chunk) {
        BulkReport request{};
        request[0] = p::kBulkReport;
        request[p::kCodeByte] = p::kCmdWriteChunk;
        request[p::kArgSlot] = record->profile_index;
        request[p::kArgChunk] = static_cast<uint8_t>(chunk);
        std::memcpy(&request[p::kPayload], &image[chunk * p::kChunkSize], p::kChunkSize);
        if (SetFeature(request.data(), static_cast<int>(request.size())) == 0) {
            return QX_STATUS_TRANSPORT;
        }
        protocol_sleep(p::kWaitWriteChunk);
        CommandReport status{};
        status[0] = p::kCommandReport;
        if (GetFeature(status.data(), static_cast<int>(status.size())) == 0) {
            return QX_STATUS_TRANSPORT;
        }
        if (status[p::kCodeByte] != p::kStatusDone)
            return QX_STATUS_REFUSED;
    }
    return QX_STATUS_DONE;
}

}  // extern "C"
