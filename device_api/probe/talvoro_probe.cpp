// talvoro_probe: the first thing to run when the mouse is "not detected".
// Lists the HID interfaces the library sees and why each one is or is not the
// mouse's configuration interface, then reads the mouse through the library's
// own commands.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "console_output.h"
#include "feature_device.h"
#include "probe/record_dump.h"
#include "probe/watch.h"
#include "protocol.h"
#include "talvoro_api.h"
#include "talvoro_version.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoMouse = 1;
constexpr int kExitFailure = 1;  // the same status for anything else that failed
constexpr int kExitUsage = 2;
constexpr int kExitRefused = 3;

enum class Mode { kShow, kList, kWatch, kHelp, kVersion };

struct CommandLine {
    Mode mode = Mode::kShow;
    int slot = -1;      // -1: the current one
    std::string error;  // set when the command line is bad
};

CommandLine parse_command_line(int argc, char** argv) {
    CommandLine line;
    bool list = false;
    bool watch = false;
    Mode about = Mode::kShow;  // --help or --version, the first one given
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "--version") {
            if (about == Mode::kShow)
                about = arg == "--help" ? Mode::kHelp : Mode::kVersion;
        } else if (arg == "--watch") {
            watch = true;
        } else if (arg == "--list") {
            list = true;
        } else if (arg == "--slot") {
            if (i + 1 >= argc) {
                line.error = "--slot needs a value";
                return line;
            }
            char* end = nullptr;
            const long slot = std::strtol(argv[++i], &end, 10);
            if (*argv[i] == '\0' || *end != '\0' || slot < 0 ||
                slot >= static_cast<long>(talvoro::protocol::kProfileSlots)) {
                line.error = "--slot takes 0..4";
                return line;
            }
            line.slot = static_cast<int>(slot);
        } else if (arg.starts_with("-")) {
            line.error = "unknown option '" + std::string(arg) + "'";
            return line;
        } else {
            line.error = "unexpected argument '" + std::string(arg) + "'";
            return line;
        }
    }
    // What is asked for about the program comes before any work; watching never ends, so it
    // takes the place of the one-off listing.
    if (about != Mode::kShow) {
        line.mode = about;
    } else if (watch) {
        line.mode = Mode::kWatch;
    } else if (list) {
        line.mode = Mode::kList;
    }
    return line;
}

constexpr const char* kUsage =
    "Usage: talvoro_probe [--list] [--slot N] [--watch]\n"
    "       talvoro_probe --help | --version\n"
    "Finds the Talvoro mouse and shows what it holds.\n\n"
    "  --list     only list the HID interfaces and say which is the mouse\n"
    "  --slot N   profile slot to show, 0..4 (default: the current one)\n"
    "  --watch    print each mouse plugged in or out until interrupted\n"
    "  --help     this text\n"
    "  --version  the program's version\n\n"
    "Set TALVORO_DEBUG=1 to see every step of the library.\n"
    "Exit status: 0 done, 1 no mouse answers, 2 usage, 3 the mouse refused.\n";

// Prints one line per top-level collection of an interface that could be read.
void list_collections(const talvoro::HidDeviceRecord& record) {
    bool taken = false;
    for (size_t i = 0; i < record.collections.size(); ++i) {
        const auto& collection = record.collections[i];
        const auto test = talvoro::first_failed_test(collection, record.attributes);
        const char* verdict = talvoro::passed_over_text(test);
        std::string line;
        if (test != talvoro::IdentificationTest::kPassed) {
            line = std::string("passed over: ") + verdict;
        } else if (taken) {
            line = "passed over: an earlier collection is taken";
        } else {
            line = std::string("taken: ") + verdict;
            taken = true;
        }
        std::printf(
            "         collection %zu  usage %04X:%04X  reports in %u out %u feature %u  %s\n",
            i + 1, collection.usage_page, collection.usage, collection.input_report_byte_length,
            collection.output_report_byte_length, collection.feature_report_byte_length,
            line.c_str());
    }
}

// Prints each interface with every collection it carries; returns how many
// interfaces are configuration interfaces.
int list_interfaces() {
    int found = 0;
    const auto interfaces = talvoro::hid::list_interfaces();
    if (interfaces.empty())
        std::puts("no HID interfaces found");
    for (const auto& where : interfaces) {
        talvoro::HidDeviceRecord record;
        std::string why;
        const bool match = talvoro::identify(where, record, &why);
        std::printf("%-8s %s\n         ", where.backend->name(), where.path.c_str());
        if (!record.collections.empty()) {
            std::printf("%04X:%04X  ", record.attributes.vendor_id, record.attributes.product_id);
        }
        std::printf("%s\n", match ? "configuration interface" : ("passed over: " + why).c_str());
        list_collections(record);
        record.release();
        found += match ? 1 : 0;
    }
    return found;
}

int show_mouse(int slot) {
    if (Open_QX_device() == 0) {
        std::puts("\nNo Talvoro mouse answers. Check the cable, and the lines above.");
        return kExitNoMouse;
    }
    uint16_t version = 0;
    uint8_t second = 0;
    uint8_t third = 0;
    uint8_t current = 0;
    if (Get_fw_info(&version, &second, &third) != QX_STATUS_DONE ||
        Get_current_profile_id(&current) != QX_STATUS_DONE) {
        Close_QX_device();
        std::puts("\nThe mouse did not answer its firmware or profile command.");
        return kExitRefused;
    }
    char text[16];
    talvoro::format_firmware_version(version, text);
    std::printf("\nfirmware %s, current profile slot %u\n\n", text, current);
    auto record = std::make_unique<ProfileRecord>();
    const int wanted = slot >= 0 ? slot : current;
    const QxStatus status = Read_profile(wanted, record.get());
    Close_QX_device();
    if (status != QX_STATUS_DONE) {
        std::printf("reading slot %d failed with status %u\n", wanted, status);
        return kExitRefused;
    }
    talvoro::dump_record(*record, stdout);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    talvoro::use_utf8_console_output();
    const CommandLine line = parse_command_line(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "talvoro_probe: %s (see --help)\n", line.error.c_str());
        return kExitUsage;
    }
    switch (line.mode) {
        case Mode::kHelp:
            return talvoro::print_reply(kUsage) ? kExitOk : kExitFailure;
        case Mode::kVersion:
            return talvoro::print_reply(talvoro::version_line("talvoro_probe")) ? kExitOk
                                                                                : kExitFailure;
        case Mode::kWatch:
            return talvoro::watch_devices();
        case Mode::kList:
        case Mode::kShow:
            break;
    }
    const int found = list_interfaces();
    if (line.mode == Mode::kList)
        return found > 0 ? kExitOk : kExitNoMouse;
    return show_mouse(line.slot);
}
