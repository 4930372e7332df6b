#include "mouse_service.h"

#include <chrono>
#include <cstdio>

#include "hid/virtual/virtual_wire.h"
#include "report_descriptors.h"
#include "state_file.h"

namespace talvoro::virtual_mouse {

namespace {

namespace wire = hid::virtual_wire;

constexpr int kPointerInterface = 0;
constexpr int kConfigurationInterface = 1;

}  // namespace

std::string interface_file(const std::string& folder, const std::string& name, int number) {
    return folder + "/" + name + ".if" + std::to_string(number) + wire::kSocketSuffix;
}

std::vector<ServedInterface> served_interfaces(const Options& options,
                                               std::span<const uint8_t> configuration) {
    std::vector<ServedInterface> interfaces;
    auto add = [&](int number, std::span<const uint8_t> descriptor, bool features) {
        interfaces.push_back(
            {{number, options.vendor_id, options.product_id, kDeviceVersion, descriptor, features},
             interface_file(options.folder, options.name, number)});
    };
    if (options.interfaces != InterfaceSet::kConfiguration)
        add(kPointerInterface, pointer_descriptor(), false);
    if (options.interfaces != InterfaceSet::kPointer)
        add(kConfigurationInterface, configuration, true);
    return interfaces;
}

std::vector<uint8_t> reply_to_request(const Options& options, const InterfaceIdentity& interface,
                                      VirtualFirmware& firmware, HostSession& session,
                                      std::span<const uint8_t> packet) {
    std::vector<uint8_t> reply;
    if (packet.size() > wire::kMaxPacket) {
        reply = {wire::kFailed};
        packet = {};
    } else {
        reply =
            answer_packet(interface, firmware, session, packet, std::chrono::steady_clock::now());
    }
    if (options.verbose)
        log_verbose(options, describe_exchange(interface, packet, reply));
    return reply;
}

bool unplug_after_request(const Options& options, VirtualFirmware& firmware) {
    if (firmware.take_state_change() && !options.state_file.empty()) {
        std::string error;
        if (!save_state_file(options.state_file, firmware.state(), &error))
            std::fprintf(stderr, "talvoro_virtual_mouse: %s\n", error.c_str());
    }
    if (!firmware.take_unplug_request())
        return false;
    log_verbose(options, "fault: unplugging");
    return true;
}

void log_verbose(const Options& options, const std::string& line) {
    if (options.verbose)
        std::fprintf(stderr, "talvoro_virtual_mouse: %s\n", line.c_str());
}

}  // namespace talvoro::virtual_mouse
