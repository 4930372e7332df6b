// Command line of talvoro_virtual_mouse.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fault_plan.h"

namespace talvoro::virtual_mouse {

enum class InterfaceSet { kBoth, kConfiguration, kPointer };

struct Options {
    std::string folder;  // virtual-HID folder
    std::string name = "talvoro";
    uint16_t vendor_id = TALVORO_VENDOR_ID;
    uint16_t product_id = TALVORO_PRODUCT_ID;
    InterfaceSet interfaces = InterfaceSet::kBoth;
    // Overrides the version kept in the state file when given.
    std::optional<uint16_t> firmware_version;
    FaultPlan faults;
    std::string state_file;  // empty: state lives in memory only
    // Report descriptor served on the configuration interface instead of
    // the mouse's own; empty: its own.
    std::string config_descriptor_file;
    bool verbose = false;
    // Stop (removing the sockets) when the process that started the mouse ends.
    bool exit_with_parent = false;
};

struct ParsedCommandLine {
    std::optional<Options> options;  // set when the program should run
    bool help = false;               // --help was asked for
    bool version = false;            // --version was asked for (and not --help before it)
    std::string error;               // set when the command line is bad
};

// `args` excludes the program name. The folder defaults to the library's
// virtual-HID folder.
ParsedCommandLine parse_command_line(std::span<const std::string_view> args);

std::string usage_text(std::string_view program);

// Decimal, or hexadecimal with a 0x prefix; nothing else, no sign.
std::optional<uint64_t> parse_number(std::string_view text, uint64_t max);

}  // namespace talvoro::virtual_mouse
