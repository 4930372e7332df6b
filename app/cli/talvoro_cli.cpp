// talvoro_cli: the mouse's profiles from a shell, for people who script their
// set-up or run without a display: whole stores (read, apply, show) and single
// settings (get, set, button, profile, led, macro), with JSON for scripts.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_request.h"
#include "cli/store_edit.h"
#include "cli/store_json.h"
#include "cli/store_report.h"
#include "console_output.h"
#include "device/device_api_binding.h"
#include "device/device_link.h"
#include "device/profile_exchange.h"
#include "platform/desktop_settings_backend.h"
#include "platform/program_arguments.h"
#include "profile_image.h"
#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store/store_text.h"
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

constexpr const char* kUsage =
    "Usage: talvoro_cli COMMAND [ARGUMENTS] [--json]\n"
    "Whole stores:\n"
    "  read FILE            read the five profiles from the mouse and save them to FILE\n"
    "  apply FILE           write the profiles saved in FILE to the mouse, then set the\n"
    "                       desktop pointer settings of the current profile\n"
    "  show [FILE] [--json] print the profiles and macros of FILE, or of the mouse\n"
    "One setting (read the mouse, change it, write back the profiles that changed):\n"
    "  get [--profile N] [--json]        everything, or profile N\n"
    "  set N dpi LEVEL X[xY]             resolution level 1-4, 200-8200 in steps of 100\n"
    "  set N rate 125|250|500|1000       report rate in Hz\n"
    "  set N lift-off LEVEL              0-10\n"
    "  set N angle-snapping LEVEL|off    0-10 (off is 0)\n"
    "  set N smoothing on|off\n"
    "  set N power-save off|60|120\n"
    "  button N BUTTON FUNCTION          BUTTON 1-11; FUNCTION a menu name such as\n"
    "                                    \"Right Click\", key KEYNAME, disable, default, or\n"
    "                                    macro NAME [--times N|--while-held|--toggle]\n"
    "  profile use|enable|disable N      make N current, or take it in or out of use\n"
    "  led on|off                        light the mouse or black it out\n"
    "  macro list [--json]               the mouse's macros and those saved beside them\n"
    "  macro show NAME [--json]          one macro's steps\n"
    "  macro import FILE                 replace the macros with a .qxm file's\n"
    "  macro export NAME FILE            save one macro as a .qxm file\n"
    "  macro delete NAME                 buttons that played it get their factory function\n"
    "  --help       show this text\n"
    "  --version    show the program's version\n"
    "Exit status: 0 done, 1 no mouse answers or an exchange failed, 2 bad command line or a\n"
    "change the mouse cannot take, 3 the mouse refused a read or apply, 4 file error.\n";

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

// The store as the one-setting commands see it: the mouse, then the macros of the macro store
// file that it lacks. A missing or unreadable file adds nothing.
uint8_t read_mouse(Session& session, ProfileStore& store) {
    const uint8_t status = session.exchange->read_device();
    if (status != QX_STATUS_DONE)
        return status;
    auto saved = std::make_unique<MacroStore>();
    std::memset(saved.get(), 0, sizeof(MacroStore));
    if (read_macro_store(*saved, {}) == kStoreRead)
        cli::add_saved_macros(store, *saved);
    return status;
}

// A failed exchange of the one-setting commands: all are status 1, with the reason.
int change_failed(uint8_t status, int rejected_profile) {
    if (status == 0) {
        std::fputs("talvoro_cli: no Talvoro mouse answers (try talvoro_probe)\n", stderr);
    } else if (status == QX_STATUS_REJECTED) {
        std::fprintf(stderr, "talvoro_cli: the mouse has no room for the macros of profile %d\n",
                     rejected_profile);
    } else {
        std::fprintf(stderr, "talvoro_cli: the mouse refused: status %u\n", status);
    }
    return kExitNoMouse;
}

// The profile whose macros the mouse cannot hold (more than 128 key and mouse steps in one
// macro, or more than its profile's event room), or 0.
int profile_without_room(const DeviceRecords& records) {
    for (size_t i = 0; i < records.size(); ++i) {
        if (!macros_fit(records[i])) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

int save_state_files(const ProfileStore& store) {
    // As the window after an apply: the AllProfile file and the macro store file. A folder that
    // cannot be made is told by the writes below.
    static_cast<void>(ensure_program_folders());
    const auto not_written = [](const std::string& path) {
        std::fprintf(stderr, "talvoro_cli: cannot write %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return kExitFile;
    };
    if (!write_all_profiles(store))
        return not_written(all_profiles_path());
    if (write_macro_store(store.macro_store, {}) == 0)
        return not_written(macro_store_path());
    return kExitOk;
}

// show, get, macro list, macro show and macro export, on a store read from the mouse (or, for
// show, from a file).
int report(const cli::Request& request, const ProfileStore& store) {
    const auto print = [](const std::string& json) {
        return talvoro::print_reply(json + "\n") ? kExitOk : kExitFile;
    };
    int macro = -1;
    if (request.verb == cli::Verb::kMacroShow || request.verb == cli::Verb::kMacroExport) {
        macro = cli::macro_index(store, request.name);
        if (macro < 0) {
            std::fprintf(stderr, "talvoro_cli: no macro is named '%s' (see macro list)\n",
                         request.name.c_str());
            return kExitUsage;
        }
    }
    switch (request.verb) {
        case cli::Verb::kShow:
        case cli::Verb::kGet:
            if (request.json) {
                return print(request.profile == 0 ? cli::store_json(store)
                                                  : cli::profile_json(store, request.profile));
            }
            if (request.profile == 0) {
                write_store_report(store, stdout);
            } else {
                write_profile_report(store, request.profile - 1, stdout);
            }
            return kExitOk;
        case cli::Verb::kMacroList:
            if (request.json) {
                return print(cli::macro_list_json(store));
            }
            write_macro_list(store, stdout);
            return kExitOk;
        case cli::Verb::kMacroShow:
            if (request.json) {
                return print(cli::macro_json(store, macro));
            }
            write_macro_report(store, macro, stdout);
            return kExitOk;
        case cli::Verb::kMacroExport: {
            // A macro file holds a whole macro table: this one macro, first.
            auto file = std::make_unique<MacroStore>();
            std::memset(file.get(), 0, sizeof(MacroStore));
            file->macro_count = 1;
            std::memcpy(&file->macros[0], &store.macro_store.macros[macro], sizeof(MacroRecord));
            if (export_macro_file(*file, request.file) == 0) {
                std::fprintf(stderr, "talvoro_cli: cannot write %s: %s\n", request.file.c_str(),
                             std::strerror(errno));
                return kExitFile;
            }
            std::printf("exported macro \"%s\" to %s\n", request.name.c_str(),
                        request.file.c_str());
            return kExitOk;
        }
        default:
            return kExitUsage;
    }
}

// A one-setting change: read the mouse, change the store, check it, write back what changed,
// then keep the program's files in step.
int change(const cli::Request& request, ProfileStore& store, Session& session) {
    if (const uint8_t status = read_mouse(session, store); status != QX_STATUS_DONE)
        return change_failed(status, 0);
    const uint8_t current_before = session.exchange->device_current();
    auto before = std::make_unique<DeviceRecords>();
    {
        auto copy = std::make_unique<ProfileStore>(store);
        static_cast<void>(encode_profiles(*copy, *before));
    }
    if (const std::string refused = cli::edit_store(request, store); !refused.empty()) {
        std::fprintf(stderr, "talvoro_cli: %s\n", refused.c_str());
        return request.verb == cli::Verb::kMacroImport ? kExitFile : kExitUsage;
    }
    if (const int macro = cli::macro_too_long(store); macro >= 0) {
        std::fprintf(stderr,
                     "talvoro_cli: macro \"%s\" is too long for the mouse (at most %d key and "
                     "mouse steps)\n",
                     std::string(field_text(store.macro_store.macros[macro].name)).c_str(),
                     TALVORO_MACRO_EVENTS);
        return kExitUsage;
    }
    {
        auto copy = std::make_unique<ProfileStore>(store);
        auto after = std::make_unique<DeviceRecords>();
        static_cast<void>(encode_profiles(*copy, *after));
        if (const int profile = profile_without_room(*after); profile != 0) {
            std::fprintf(stderr,
                         "talvoro_cli: the macros of profile %d are too long for the mouse "
                         "together (at most %d steps and one end mark for each)\n",
                         profile, TALVORO_EVENT_RECORDS);
            return kExitUsage;
        }
    }
    const uint8_t status = session.exchange->apply_changed(*before);
    if (status != QX_STATUS_DONE)
        return change_failed(status, session.exchange->rejected_profile());
    if (const int saved = save_state_files(store); saved != kExitOk)
        return saved;
    const int written = session.exchange->written_profiles();
    const bool selected = session.exchange->device_current() != current_before;
    if (written == 0 && !selected) {
        std::puts("the mouse has this already");
    } else {
        std::printf("done: %d profile(s) written, profile %d is current\n", written,
                    store.current_profile);
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    talvoro::use_utf8_console_output();
    std::vector<std::string> args = program_arguments(argc, argv);
    if (!args.empty())
        args.erase(args.begin());
    const cli::Request request = cli::parse_request(args);
    if (!request.error.empty()) {
        std::fprintf(stderr, "talvoro_cli: %s (see --help)\n", request.error.c_str());
        return kExitUsage;
    }
    switch (request.verb) {
        case cli::Verb::kNone:
            // Nothing asked: the usage is the most useful answer.
            std::fputs(kUsage, stderr);
            return kExitUsage;
        case cli::Verb::kHelp:
            return talvoro::print_reply(kUsage) ? kExitOk : kExitFile;
        case cli::Verb::kVersion:
            return talvoro::print_reply(talvoro::version_line("talvoro_cli")) ? kExitOk : kExitFile;
        default:
            break;
    }
    const std::string& path = request.file;

    // 7 MB: the whole settings image, as the program keeps it.
    auto store = std::make_unique<ProfileStore>();
    std::memset(store.get(), 0, sizeof(ProfileStore));
    if (request.verb == cli::Verb::kShow && !path.empty()) {
        if (const int status = load_file(*store, path); status != kExitOk)
            return status;
        return report(request, *store);
    }

    Session session;
    if (!session.open(*store))
        return kExitNoMouse;
    if (request.verb == cli::Verb::kLed) {
        if (!session.link->set_leds(request.on)) {
            std::fputs("talvoro_cli: no Talvoro mouse took the lighting (try talvoro_probe)\n",
                       stderr);
            return kExitNoMouse;
        }
        return kExitOk;
    }
    if (cli::changes_mouse(request.verb))
        return change(request, *store, session);
    if (request.verb == cli::Verb::kApply) {
        if (const int status = load_file(*store, path); status != kExitOk)
            return status;
        const uint8_t status = session.exchange->apply_all();
        if (status != QX_STATUS_DONE)
            return exchange_failed(status, "writing the profiles");
        std::printf("applied %s: profile %d is current\n", path.c_str(), store->current_profile);
        return kExitOk;
    }
    const bool whole = request.verb == cli::Verb::kRead || request.verb == cli::Verb::kShow;
    const uint8_t status = whole ? session.exchange->read_device() : read_mouse(session, *store);
    if (status != QX_STATUS_DONE) {
        // The one-setting readers say the same as the changes; read and show keep their codes.
        return whole ? exchange_failed(status, "reading the profiles") : change_failed(status, 0);
    }
    if (request.verb == cli::Verb::kRead) {
        if (!write_all_profiles(*store, path)) {
            std::fprintf(stderr, "talvoro_cli: cannot write %s: %s\n", path.c_str(),
                         std::strerror(errno));
            return kExitFile;
        }
        std::printf("read the mouse into %s\n", path.c_str());
        return kExitOk;
    }
    return report(request, *store);
}
