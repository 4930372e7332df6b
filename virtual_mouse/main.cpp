// talvoro_virtual_mouse: a Talvoro mouse for machines that have none.
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "complain.h"
#include "factory_images.h"
#include "hid/virtual/virtual_wire.h"
#include "options.h"
#include "report_descriptors.h"
#include "serve.h"
#include "state_file.h"
#include "talvoro_version.h"
#include "virtual_firmware.h"

namespace {

namespace vm = talvoro::virtual_mouse;
using vm::complain;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + (argc > 0 ? argc : 0));
    const vm::ParsedCommandLine parsed = vm::parse_command_line(args);
    const char* program = argc > 0 ? argv[0] : "talvoro_virtual_mouse";
    if (parsed.help || parsed.version) {
        const bool written = talvoro::print_reply(
            parsed.help ? vm::usage_text(program) : talvoro::version_line("talvoro_virtual_mouse"));
        return written ? 0 : kExitFailure;
    }
    if (!parsed.options) {
        return complain(kExitUsage, parsed.error + " (see --help)");
    }
    const vm::Options& options = *parsed.options;

    std::string error;
    if (!vm::interface_paths_fit(options, &error))
        return complain(kExitUsage, error);
    std::vector<uint8_t> configuration(vm::configuration_descriptor().begin(),
                                       vm::configuration_descriptor().end());
    if (!options.config_descriptor_file.empty()) {
        auto bytes = vm::read_descriptor_file(options.config_descriptor_file, &error);
        if (!bytes)
            return complain(kExitUsage, error);
        configuration = std::move(*bytes);
    }
    if (!vm::ensure_folder(options.folder, &error))
        return complain(kExitUsage, error);
    if (std::string why; !talvoro::hid::virtual_wire::folder_is_trusted(options.folder, &why)) {
        return complain(kExitUsage,
                        "refusing to serve into " + options.folder + ": " + why +
                            " (it must be a folder of this user that no one else may write to)");
    }

    vm::MouseState state = vm::factory_state(vm::kFactoryFirmwareVersion);
    if (!options.state_file.empty()) {
        state = vm::load_state_file(options.state_file, vm::kFactoryFirmwareVersion).state;
    }
    if (options.firmware_version)
        state.firmware_version = *options.firmware_version;
    if (!options.state_file.empty() && !vm::save_state_file(options.state_file, state, &error)) {
        return complain(kExitFailure, error);
    }

    vm::VirtualFirmware firmware(std::move(state), options.faults,
                                 std::chrono::steady_clock::now());
    return vm::serve(options, configuration, firmware, [] {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
    });
}
