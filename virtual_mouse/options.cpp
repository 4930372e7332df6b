#include "options.h"

#include <chrono>
#include <limits>

#include "help_texts.h"
#include "hid/virtual/virtual_wire.h"

namespace talvoro::virtual_mouse {

namespace {

// Upper bounds that keep the fault settings meaningful.
constexpr uint64_t kMaxStartingMs = 24ull * 60 * 60 * 1000;
constexpr uint64_t kMaxBusyPolls = 1'000'000;
constexpr uint64_t kMaxRequests = std::numeric_limits<uint32_t>::max();

constexpr std::string_view kValueOptions[] = {
    "--dir",        "--name",         "--vendor-id",   "--product-id",
    "--interfaces", "--firmware",     "--starting-ms", "--refuse",
    "--busy-polls", "--unplug-after", "--state",       "--config-descriptor",
};

bool takes_value(std::string_view option) {
    for (std::string_view known : kValueOptions) {
        if (option == known)
            return true;
    }
    return false;
}

bool valid_name(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

}  // namespace

std::optional<uint64_t> parse_number(std::string_view text, uint64_t max) {
    uint64_t base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        uint64_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<uint64_t>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<uint64_t>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<uint64_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        if (value > (max - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

ParsedCommandLine parse_command_line(std::span<const std::string_view> args) {
    ParsedCommandLine result;
    Options options;
    bool folder_given = false;
    auto fail = [&](std::string message) {
        result.error = std::move(message);
        result.options.reset();
        return result;
    };

    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view option = args[i];
        std::optional<std::string_view> inline_value;
        if (const size_t equals = option.find('=');
            option.starts_with("--") && equals != std::string_view::npos) {
            inline_value = option.substr(equals + 1);
            option = option.substr(0, equals);
        }
        const bool is_flag = option == "--help" || option == "-h" || option == "--version" ||
                             option == "--verbose" || option == "--unplug-mid-transfer" ||
                             option == "--no-timing" || option == "--exit-with-parent";
        if (is_flag && inline_value)
            return fail(std::string(option) + " takes no value");
        if (option == "--help" || option == "-h") {
            result.help = !result.version;
            continue;
        }
        if (option == "--version") {
            result.version = !result.help;
            continue;
        }
        if (option == "--verbose") {
            options.verbose = true;
            continue;
        }
        if (option == "--unplug-mid-transfer") {
            options.faults.unplug_mid_transfer = true;
            continue;
        }
        if (option == "--exit-with-parent") {
            options.exit_with_parent = true;
            continue;
        }
        if (option == "--no-timing") {
            options.faults.no_timing = true;
            continue;
        }

        if (!takes_value(option))
            return fail("unknown option " + std::string(args[i]));
        std::string_view value;
        if (inline_value) {
            value = *inline_value;
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return fail("missing value for " + std::string(option));
        }
        auto number = [&](uint64_t max) { return parse_number(value, max); };
        auto bad_value = [&](std::string_view expected) {
            return fail("bad value '" + std::string(value) + "' for " + std::string(option) +
                        ": expected " + std::string(expected));
        };

        if (option == "--dir") {
            if (value.empty())
                return bad_value("a folder");
            options.folder = value;
            folder_given = true;
        } else if (option == "--name") {
            if (!valid_name(value))
                return bad_value("a file name without '/'");
            options.name = value;
        } else if (option == "--vendor-id" || option == "--product-id") {
            const auto id = number(0xFFFF);
            if (!id)
                return bad_value("a 16-bit number");
            (option == "--vendor-id" ? options.vendor_id : options.product_id) =
                static_cast<uint16_t>(*id);
        } else if (option == "--interfaces") {
            if (value == "both") {
                options.interfaces = InterfaceSet::kBoth;
            } else if (value == "config") {
                options.interfaces = InterfaceSet::kConfiguration;
            } else if (value == "pointer") {
                options.interfaces = InterfaceSet::kPointer;
            } else {
                return bad_value("both, config or pointer");
            }
        } else if (option == "--firmware") {
            const auto version = number(0xFFFF);
            if (!version)
                return bad_value("a 16-bit number");
            options.firmware_version = static_cast<uint16_t>(*version);
        } else if (option == "--starting-ms") {
            const auto ms = number(kMaxStartingMs);
            if (!ms)
                return bad_value("milliseconds, at most one day");
            options.faults.starting_window = std::chrono::milliseconds(*ms);
        } else if (option == "--refuse") {
            const auto code = number(0xFF);
            if (!code)
                return bad_value("a command code 0..0xFF");
            options.faults.refused_codes[*code] = true;
        } else if (option == "--busy-polls") {
            const auto polls = number(kMaxBusyPolls);
            if (!polls)
                return bad_value("a count");
            options.faults.busy_polls = static_cast<unsigned>(*polls);
        } else if (option == "--unplug-after") {
            const auto requests = number(kMaxRequests);
            if (!requests || *requests == 0)
                return bad_value("a count of at least 1");
            options.faults.unplug_after_requests = *requests;
        } else if (option == "--state") {
            if (value.empty())
                return bad_value("a file");
            options.state_file = value;
        } else if (option == "--config-descriptor") {
            if (value.empty())
                return bad_value("a file");
            options.config_descriptor_file = value;
        }
    }
    if (result.help || result.version)
        return result;
    if (!folder_given)
        options.folder = hid::virtual_wire::default_folder();
    result.options = std::move(options);
    return result;
}

std::string usage_text(std::string_view program) {
    std::string text = "Usage: " + std::string(program) + " [OPTION]...\n";
    text += transport_help();
    text += "\n";
    text += folder_help();
    text += R"(  --name NAME            name prefix of the interface files (default talvoro)
  --vendor-id ID         USB vendor id, decimal or 0x-hex (default the build's)
  --product-id ID        USB product id, decimal or 0x-hex (default the build's)
  --interfaces WHICH     both, config or pointer (default both)
  --firmware N           firmware version, major * 100 + minor (default: the
                         state file's, else 105)
  --state FILE           keep the flash state in FILE (10,244 bytes), rewritten
                         after every change; a missing or damaged file starts
                         from the factory profiles
  --config-descriptor FILE
                         serve the binary report descriptor in FILE on the
                         configuration interface instead of the mouse's own
                         (at most 4096 bytes); the interface answers the same
                         feature reports
  --verbose              print every request to standard error
  --exit-with-parent     stop, removing the sockets, when the process that
                         started the mouse ends (for test harnesses)
  --no-timing            make every reply valid at once instead of after its
                         wait (for hosts whose waits are simulated)
  --help                 show this text
  --version              show the program's version

Faults:
  --starting-ms N        report firmware version 0xCCCC for N ms after each plug-in
  --refuse CODE          answer command CODE with status 0xFF (repeatable)
  --busy-polls N         answer "busy" to the first N control-status reads after
                         each control request
  --unplug-after N       unplug when the N-th feature request (set) on the
                         configuration interface arrives, without serving it;
                         once per run
  --unplug-mid-transfer  unplug once the first chunk of a profile read or write
                         has been answered; once per run

)";
    text += controls_help();
    text += R"(Exit status: 0 after a request to stop, 1 on a run-time failure, 2 for a bad
command line or an untrusted folder.
)";
    return text;
}

}  // namespace talvoro::virtual_mouse
