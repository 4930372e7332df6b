// The virtual mouse's side of the virtual-HID wire: any sequence of request packets a host may
// send on one connection (each input is packets of a 16-bit little-endian length and its bytes),
// answered by the real firmware with time moving on between requests. Beyond no crash: every
// request gets exactly one reply that starts with a result byte and fits the wire's largest
// packet, and the flash state stays one that the state file keeps and reads back unchanged.
#include <algorithm>
#include <span>

#include "configuration_interface.h"
#include "factory_images.h"
#include "fuzz_support.h"
#include "hid/virtual/virtual_wire.h"
#include "mouse_state.h"
#include "report_descriptors.h"
#include "virtual_firmware.h"
#include "wire_responder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace vm = talvoro::virtual_mouse;
    namespace wire = talvoro::hid::virtual_wire;
    vm::TimePoint now{};
    static const vm::MouseState factory = vm::factory_state(205);
    vm::VirtualFirmware firmware(factory, vm::FaultPlan{}, now);
    vm::HostSession host;
    const vm::InterfaceIdentity interface = talvoro::fuzz::configuration_interface();

    size_t at = 0;
    while (at + 2 <= size) {
        const size_t length = std::min<size_t>(wire::get_u16(data + at), size - at - 2);
        const std::span<const uint8_t> packet(data + at + 2, length);
        at += 2 + length;
        const std::vector<uint8_t> reply =
            vm::answer_packet(interface, firmware, host, packet, now);
        FUZZ_CHECK(!reply.empty() && reply.size() <= wire::kMaxPacket);
        FUZZ_CHECK(reply[0] == wire::kOk || reply[0] == wire::kFailed);
        vm::describe_exchange(interface, packet, reply);
        now += std::chrono::seconds(2);  // past every wait of the protocol
    }
    const std::vector<uint8_t> kept = vm::encode_state(firmware.state());
    const std::optional<vm::MouseState> read_back = vm::decode_state(kept);
    FUZZ_CHECK(read_back.has_value() && vm::encode_state(*read_back) == kept);
    return 0;
}
