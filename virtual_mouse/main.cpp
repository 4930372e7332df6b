// talvoro_virtual_mouse: a Talvoro mouse for machines that have none.
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "factory_images.h"
#include "hid/virtual/virtual_wire.h"
#include "options.h"
#include "posix/interface_socket.h"
#include "posix/mouse_server.h"
#include "posix/parent_watch.h"
#include "posix/signal_events.h"
#include "posix/state_file.h"
#include "report_descriptors.h"
#include "talvoro_version.h"
#include "virtual_firmware.h"

namespace {

namespace vm = talvoro::virtual_mouse;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int complain(int status, const std::string& message) {
    std::fprintf(stderr, "talvoro_virtual_mouse: %s\n", message.c_str());
    return status;
}

// Creates the folder if it is missing; the trust test that follows decides
// whether it may be served into.
bool ensure_folder(const std::string& folder, std::string* error) {
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST)
        return true;
    *error = "cannot create " + folder + ": " + std::strerror(errno);
    return false;
}

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

    for (int number : {0, 1}) {
        const std::string path = vm::posix::socket_path(options.folder, options.name, number);
        if (!vm::posix::fits_socket_address(path)) {
            return complain(kExitUsage, "socket path too long: " + path);
        }
    }

    std::string error;
    std::vector<uint8_t> configuration(vm::configuration_descriptor().begin(),
                                       vm::configuration_descriptor().end());
    if (!options.config_descriptor_file.empty()) {
        auto bytes = vm::read_descriptor_file(options.config_descriptor_file, &error);
        if (!bytes)
            return complain(kExitUsage, error);
        configuration = std::move(*bytes);
    }
    if (!ensure_folder(options.folder, &error))
        return complain(kExitUsage, error);
    if (std::string why; !talvoro::hid::virtual_wire::folder_is_trusted(options.folder, &why)) {
        return complain(kExitUsage,
                        "refusing to serve into " + options.folder + ": " + why +
                            " (it must be a folder of this user that no one else may write to)");
    }

    vm::MouseState state = vm::factory_state(vm::kFactoryFirmwareVersion);
    if (!options.state_file.empty()) {
        state = vm::posix::load_state_file(options.state_file, vm::kFactoryFirmwareVersion).state;
    }
    if (options.firmware_version)
        state.firmware_version = *options.firmware_version;
    if (!options.state_file.empty() &&
        !vm::posix::save_state_file(options.state_file, state, &error)) {
        return complain(kExitFailure, error);
    }

    // Signals are blocked before the sockets appear, so none is lost once a
    // script has seen "ready".
    auto signals = vm::posix::SignalEvents::open({SIGTERM, SIGINT, SIGUSR1, SIGUSR2}, &error);
    if (!signals)
        return complain(kExitFailure, error);
    // After the signals are blocked, so the SIGTERM it asks for is not lost.
    if (options.exit_with_parent && !vm::posix::terminate_with_parent()) {
        return complain(kExitFailure, "the process that started the mouse has gone");
    }
    ::signal(SIGPIPE, SIG_IGN);

    vm::VirtualFirmware firmware(std::move(state), options.faults,
                                 std::chrono::steady_clock::now());
    vm::posix::MouseServer server(options, configuration, firmware, *signals);
    if (!server.plug_in(&error))
        return complain(kExitFailure, error);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    return server.run();
}
