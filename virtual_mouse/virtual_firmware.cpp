#include "virtual_firmware.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "hid/virtual/virtual_wire.h"

namespace talvoro::virtual_mouse {

namespace {

namespace p = talvoro::protocol;
namespace wire = hid::virtual_wire;
using std::chrono::milliseconds;

// Extra bytes of the firmware reply: a sensor model and a board revision.
constexpr uint8_t kSensorModel = 0x3A;
constexpr uint8_t kBoardRevision = 0x02;
constexpr uint8_t kStatusRefused = 0xFF;
// Control status for a request the firmware does not know.
constexpr uint8_t kControlFailed = 0xFF;
// The two driver-control modes a host may switch to.
constexpr uint8_t kDriverMode0 = 0;
constexpr uint8_t kDriverMode2 = 2;
// Flash blocks: the profile images laid end to end; beyond them, erased flash.
constexpr size_t kFlashBlocks = p::kProfileSlots * p::kImageChunks;
constexpr uint8_t kErasedFlash = 0xFF;
static_assert(p::kFlashLength == 1 + p::kChunkSize, "a flash report carries one block");
static_assert(p::kBulkLength >= p::kPayload + p::kChunkSize, "a bulk report carries one chunk");

std::optional<size_t> report_length(uint8_t report_id) {
    switch (report_id) {
        case p::kCommandReport:
            return p::kCommandLength;
        case p::kBulkReport:
            return p::kBulkLength;
        case p::kControlReport:
            return p::kControlLength;
        case p::kFlashReport:
            return p::kFlashLength;
        default:
            return std::nullopt;
    }
}

bool well_formed(const uint8_t* report, size_t length) {
    if (report == nullptr || length == 0)
        return false;
    const std::optional<size_t> expected = report_length(report[0]);
    return expected.has_value() && *expected == length;
}

// The fixed wait of a command-report code; codes unknown there are refused
// at once.
milliseconds command_wait(uint8_t code) {
    switch (code) {
        case p::kCmdFirmware:
            return p::kWaitFwVersion;
        case p::kCmdGetProfile:
            return p::kWaitGetProfile;
        case p::kCmdSetProfile:
            return p::kWaitSetProfile;
        case p::kCmdReadChunk:
            return p::kWaitReadChunk;
        case p::kCmdLedBlackOut:
        case p::kCmdLedBlackOutOff:
            return p::kWaitLed;
        default:
            return milliseconds{0};
    }
}

// The bulk report carries only the chunk write.
milliseconds bulk_wait(uint8_t code) {
    return code == p::kCmdWriteChunk ? p::kWaitWriteChunk : milliseconds{0};
}

HostSession::CommandReply make_reply(uint8_t report_id, uint8_t status, TimePoint ready_at) {
    HostSession::CommandReply reply;
    reply.report_id = report_id;
    reply.ready_at = ready_at;
    reply.bytes.assign(report_id == p::kBulkReport ? p::kBulkLength : p::kCommandLength, 0);
    reply.bytes[0] = report_id;
    reply.bytes[p::kCodeByte] = status;
    return reply;
}

bool valid_chunk(uint8_t slot, uint8_t chunk) {
    return slot < p::kProfileSlots && chunk < p::kImageChunks;
}

}  // namespace

VirtualFirmware::VirtualFirmware(MouseState state, FaultPlan faults, TimePoint plugged_in_at)
    : state_(std::move(state)), faults_(std::move(faults)), plugged_in_at_(plugged_in_at) {}

void VirtualFirmware::plug_in(TimePoint now) {
    plugged_in_at_ = now;
}

bool VirtualFirmware::take_state_change() {
    return std::exchange(state_changed_, false);
}

bool VirtualFirmware::take_unplug_request() {
    return std::exchange(unplug_requested_, false);
}

bool VirtualFirmware::set_feature(HostSession& host, const uint8_t* report, size_t length,
                                  TimePoint now) {
    // The flash report is read-only.
    if (!well_formed(report, length) || report[0] == p::kFlashReport)
        return false;
    // A mouse that leaves as a request arrives never serves it.
    if (unplugs_on_this_request())
        return false;
    switch (report[0]) {
        case p::kCommandReport:
            return set_command(host, report, now);
        case p::kBulkReport:
            return set_bulk(host, report, now);
        default:
            return set_control(host, report, now);
    }
}

bool VirtualFirmware::get_feature(HostSession& host, uint8_t* report, size_t length,
                                  TimePoint now) {
    if (!well_formed(report, length))
        return false;
    switch (report[0]) {
        case p::kCommandReport:
        case p::kBulkReport:
            return get_command_reply(host, report, length, now);
        case p::kControlReport:
            return get_control(host, report);
        default:
            return get_flash(host, report, now);
    }
}

bool VirtualFirmware::set_command(HostSession& host, const uint8_t* report, TimePoint now) {
    const uint8_t code = report[p::kCodeByte];
    const uint8_t slot = report[p::kArgSlot];
    const uint8_t chunk = report[p::kArgChunk];
    const TimePoint ready_at = ready_time(now, command_wait(code));
    // A chunk read is answered on the bulk report, everything else here.
    const uint8_t reply_id = code == p::kCmdReadChunk ? p::kBulkReport : p::kCommandReport;
    HostSession::CommandReply reply = make_reply(reply_id, kStatusRefused, ready_at);

    if (faults_.refused_codes[code]) {
        host.command = std::move(reply);
        return true;
    }
    uint8_t* payload = reply.bytes.data() + p::kPayload;
    uint8_t& status = reply.bytes[p::kCodeByte];
    switch (code) {
        case p::kCmdFirmware:
            wire::put_u16(&reply.bytes[p::kFirmwareLow], reported_version(now));
            reply.bytes[p::kFirmwareSecond] = kSensorModel;
            reply.bytes[p::kFirmwareThird] = kBoardRevision;
            status = p::kStatusDone;
            break;
        case p::kCmdGetProfile:
            reply.bytes[p::kProfileSlotByte] = state_.current_slot;
            status = p::kStatusDone;
            break;
        case p::kCmdSetProfile:
            if (slot < p::kProfileSlots) {
                state_.current_slot = slot;
                state_changed_ = true;
                status = p::kStatusDone;
            }
            break;
        case p::kCmdReadChunk:
            if (valid_chunk(slot, chunk)) {
                const uint8_t* first = state_.images[slot].data() + chunk * p::kChunkSize;
                std::copy(first, first + p::kChunkSize, payload);
                reply.first_chunk = chunk == 0;
                status = p::kStatusDone;
            }
            break;
        case p::kCmdLedBlackOut:
        case p::kCmdLedBlackOutOff:
            state_.led_dark = code == p::kCmdLedBlackOut;
            state_changed_ = true;
            status = p::kStatusDone;
            break;
        default:
            break;  // unknown: refused
    }
    host.command = std::move(reply);
    return true;
}

bool VirtualFirmware::set_bulk(HostSession& host, const uint8_t* report, TimePoint now) {
    const uint8_t code = report[p::kCodeByte];
    const uint8_t slot = report[p::kArgSlot];
    const uint8_t chunk = report[p::kArgChunk];
    // The write's status is read on the command report.
    HostSession::CommandReply reply =
        make_reply(p::kCommandReport, kStatusRefused, ready_time(now, bulk_wait(code)));
    if (code == p::kCmdWriteChunk && !faults_.refused_codes[code] && valid_chunk(slot, chunk)) {
        // Each chunk goes to flash as it arrives: a transfer broken after
        // chunk 0 leaves the new first half beside the old second half.
        const uint8_t* data = report + p::kPayload;
        std::copy(data, data + p::kChunkSize, state_.images[slot].begin() + chunk * p::kChunkSize);
        state_changed_ = true;
        reply.first_chunk = chunk == 0;
        reply.bytes[p::kCodeByte] = p::kStatusDone;
    }
    host.command = std::move(reply);
    return true;
}

bool VirtualFirmware::set_control(HostSession& host, const uint8_t* report, TimePoint now) {
    HostSession::Control control;
    control.busy_left = faults_.busy_polls;
    switch (report[p::kCodeByte]) {
        case p::kControlDriverOn:
        case kDriverMode0:
        case kDriverMode2:
            control.status = p::kControlDone;
            break;
        case p::kControlFlashRead:
            control.status = p::kControlDone;
            control.flash_block = report[p::kControlFlashBlockByte];
            control.ready_at = ready_time(now, p::kWaitFlashBlock);
            break;
        default:
            control.status = kControlFailed;
            control.busy_left = 0;
            break;
    }
    host.control = control;
    return true;
}

bool VirtualFirmware::get_command_reply(HostSession& host, uint8_t* report, size_t length,
                                        TimePoint now) {
    std::memset(report + 1, 0, length - 1);
    // Nothing asked, asked on another report, or asked too early: the reply
    // is not valid yet and its status reads 0.
    if (!host.command || host.command->report_id != report[0] ||
        host.command->bytes.size() != length || now < host.command->ready_at) {
        return true;
    }
    const HostSession::CommandReply& reply = *host.command;
    std::copy(reply.bytes.begin(), reply.bytes.end(), report);
    if (reply.first_chunk && reply.bytes[p::kCodeByte] == p::kStatusDone &&
        faults_.unplug_mid_transfer && !mid_transfer_fired_) {
        mid_transfer_fired_ = true;
        unplug_requested_ = true;
    }
    return true;
}

bool VirtualFirmware::get_control(HostSession& host, uint8_t* report) {
    std::memset(report + 1, 0, p::kControlLength - 1);
    if (!host.control)
        return true;  // status 0: no request to report on
    if (host.control->busy_left > 0) {
        --host.control->busy_left;
        report[p::kCodeByte] = p::kControlBusy;
    } else {
        report[p::kCodeByte] = host.control->status;
    }
    return true;
}

bool VirtualFirmware::get_flash(HostSession& host, uint8_t* report, TimePoint now) {
    if (!host.control || !host.control->flash_block || now < host.control->ready_at) {
        return false;
    }
    const size_t block = *host.control->flash_block;
    uint8_t* data = report + 1;
    if (block < kFlashBlocks) {
        const ProfileImage& image = state_.images[block / p::kImageChunks];
        const uint8_t* first = image.data() + (block % p::kImageChunks) * p::kChunkSize;
        std::copy(first, first + p::kChunkSize, data);
    } else {
        std::fill(data, data + p::kChunkSize, kErasedFlash);
    }
    return true;
}

bool VirtualFirmware::unplugs_on_this_request() {
    ++requests_;
    if (!faults_.unplug_after_requests || unplug_after_fired_ ||
        requests_ < *faults_.unplug_after_requests) {
        return false;
    }
    unplug_after_fired_ = true;
    unplug_requested_ = true;
    return true;
}

TimePoint VirtualFirmware::ready_time(TimePoint now, milliseconds wait) const {
    return faults_.no_timing ? now : now + wait;
}

uint16_t VirtualFirmware::reported_version(TimePoint now) const {
    if (now < plugged_in_at_ + faults_.starting_window)
        return p::kFirmwareStarting;
    return state_.firmware_version;
}

}  // namespace talvoro::virtual_mouse
