// talvoro_cli: the mouse's profiles from a shell, for people who script their
// set-up or run without a display.
//
//   talvoro_cli read FILE    read the mouse and keep it as an AllProfile image
//   talvoro_cli apply FILE   write an AllProfile image to the mouse (and desktop)
//   talvoro_cli show [FILE]  print the profiles and macros, of FILE or the mouse
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/store_report.h"
#include "device/device_api_binding.h"
#include "device/device_link.h"
#include "device/profile_exchange.h"
#include "platform/desktop_settings_backend.h"
#include "platform/program_arguments.h"
#include "store/profile_files.h"
#include "talvoro_version.h"

namespace {

using namespace talvoro;

constexpr int kExitOk = 0;
constexpr int kExitNoMouse = 1;
constexpr int kExitUsage = 2;
constexpr int kExitRefused = 3;
constexpr int kExitFile = 4;

class PrintedNotices final : public UserNotices {
  public:
    void show_notice(const std::string& text, const std::string&) override {
        std::fprintf(stderr, "talvoro_cli: %s", text.c_str());
        if (text.empty() || text.back() != '\n')
            std::fputc('\n', stderr);
    }
};

enum class Command { kNone, kRead, kApply, kShow, kHelp, kVersion };

struct CommandLine {
    Command command = Command::kNone;
    std::string file;   // read and apply: the image; show: the image, or empty for the mouse
    std::string error;  // set when the command line is bad
};

CommandLine parse_command_line(const std::vector<std::string>& args) {
    CommandLine line;
    std::vector<std::string_view> operands;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h" || arg == "--version") {
            // The first one asked for wins; whatever else is there is not run.
            if (line.command == Command::kNone)
                line.command = arg == "--version" ? Command::kVersion : Command::kHelp;
        } else if (arg.size() > 1 && arg.starts_with("-")) {
            line.error = "unknown option '" + std::string(arg) + "'";
            return line;
        } else {
            operands.push_back(arg);
        }
    }
    if (line.command != Command::kNone || operands.empty())
        return line;

    const std::string_view name = operands[0];
    if (name == "read") {
        line.command = Command::kRead;
    } else if (name == "apply") {
        line.command = Command::kApply;
    } else if (name == "show") {
        line.command = Command::kShow;
    } else {
        line.error = "unknown command '" + std::string(name) + "'";
        return line;
    }
    if (line.command != Command::kShow && operands.size() < 2) {
        line.error = std::string(name) + " needs a FILE";
    } else if (operands.size() > 2) {
        line.error = "unexpected argument '" + std::string(operands[2]) + "'";
    } else if (operands.size() == 2) {
        line.file = operands[1];
    }
    return line;
}

constexpr const char* kUsage =
    "Usage: talvoro_cli read FILE | apply FILE | show [FILE]\n"
    "       talvoro_cli --help | --version\n"
    "  read FILE    read the five profiles from the mouse and save them to FILE\n"
    "  apply FILE   write the profiles saved in FILE to the mouse, then set the\n"
    "               desktop pointer settings of the current profile\n"
    "  show [FILE]  print the profiles and macros of FILE, or of the mouse\n"
    "  --help       show this text\n"
    "  --version    show the program's version\n"
    "Exit status: 0 done, 1 no mouse answers, 2 usage, 3 the mouse refused, 4 file error.\n";

// Explains a failed exchange and gives its exit status.
int exchange_failed(uint8_t status, const char* what) {
    if (status == 0) {
        std::fputs("talvoro_cli: no Talvoro mouse answers (try talvoro_probe)\n", stderr);
        return kExitNoMouse;
    }
    std::fprintf(stderr, "talvoro_cli: %s failed: the mouse answered status %u\n", what, status);
    return kExitRefused;
}

int load_file(ProfileStore& store, const std::string& path) {
    switch (read_all_profiles(store, path)) {
        case 0:
            return kExitOk;
        case 2:
            std::fprintf(stderr, "talvoro_cli: %s is empty\n", path.c_str());
            return kExitFile;
        default:
            std::fprintf(stderr, "talvoro_cli: cannot open %s\n", path.c_str());
            return kExitFile;
    }
}

struct Session {
    PrintedNotices notices;
    DeviceApiBinding binding;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<DesktopMouseSettings> desktop;
    NoDeviceEvents ui;
    std::unique_ptr<ProfileExchange> exchange;

    bool open(ProfileStore& store) {
        if (!binding.bind(notices))
            return false;
        link = std::make_unique<DeviceLink>(binding.api());
        desktop = make_desktop_mouse_settings();
        exchange = std::make_unique<ProfileExchange>(store, *link, *desktop, ui);
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parse_command_line(program_arguments(argc, argv));
    if (!line.error.empty()) {
        std::fprintf(stderr, "talvoro_cli: %s (see --help)\n", line.error.c_str());
        return kExitUsage;
    }
    switch (line.command) {
        case Command::kNone:
            // Nothing asked: the usage is the most useful answer.
            std::fputs(kUsage, stderr);
            return kExitUsage;
        case Command::kHelp:
            return talvoro::print_reply(kUsage) ? kExitOk : kExitFile;
        case Command::kVersion:
            return talvoro::print_reply(talvoro::version_line("talvoro_cli")) ? kExitOk : kExitFile;
        case Command::kRead:
        case Command::kApply:
        case Command::kShow:
            break;
    }
    const std::string& path = line.file;

    // 7 MB: the whole settings image, as the program keeps it.
    auto store = std::make_unique<ProfileStore>();
    std::memset(store.get(), 0, sizeof(ProfileStore));
    if (line.command == Command::kShow && !path.empty()) {
        if (const int status = load_file(*store, path); status != kExitOk)
            return status;
        write_store_report(*store, stdout);
        return kExitOk;
    }

    Session session;
    if (!session.open(*store))
        return kExitNoMouse;
    if (line.command == Command::kApply) {
        if (const int status = load_file(*store, path); status != kExitOk)
            return status;
        const uint8_t status = session.exchange->apply_all();
        if (status != QX_STATUS_DONE)
            return exchange_failed(status, "writing the profiles");
        std::printf("applied %s: profile %d is current\n", path.c_str(), store->current_profile);
        return kExitOk;
    }
    const uint8_t status = session.exchange->read_device();
    if (status != QX_STATUS_DONE)
        return exchange_failed(status, "reading the profiles");
    if (line.command == Command::kRead) {
        if (!write_all_profiles(*store, path)) {
            std::fprintf(stderr, "talvoro_cli: cannot write %s: %s\n", path.c_str(),
                         std::strerror(errno));
            return kExitFile;
        }
        std::printf("read the mouse into %s\n", path.c_str());
        return kExitOk;
    }
    write_store_report(*store, stdout);
    return kExitOk;
}
