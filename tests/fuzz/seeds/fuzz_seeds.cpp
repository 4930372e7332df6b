// talvoro_fuzz_seeds OUT LAYOUTS: writes each fuzz target's seed corpus into OUT/<target>/ from
// what the program and the virtual mouse really make: the mouse's report descriptors and
// profile images, a session of the library with the virtual mouse as it crosses the wire, the
// store's files written by the store's own writers, the layouts in LAYOUTS and the picture
// attributes they carry, and pictures drawn and encoded by the skin maker's code. Files that
// run to megabytes (AllProfile, .qxp, the macro store) are cut to their first kilobytes, which
// the readers take as a short file whose rest is zero.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bmp_writer.h"
#include "configuration_interface.h"
#include "device/profile_codec.h"
#include "device_api/composite_descriptors.h"
#include "factory_images.h"
#include "hid/virtual/virtual_wire.h"
#include "platform/file_mouse_settings.h"
#include "profile_image.h"
#include "render/png_writer.h"
#include "report_descriptors.h"
#include "sleep.h"
#include "store/button_function.h"
#include "store/macro_delay.h"
#include "store/macro_files.h"
#include "store/profile_files.h"
#include "store/settings_file.h"
#include "store/store_allocation.h"
#include "store/store_defaults.h"
#include "store/store_text.h"
#include "talvoro_api.h"
#include "virtual_firmware.h"
#include "wire_responder.h"

namespace {

namespace fs = std::filesystem;
namespace vm = talvoro::virtual_mouse;
namespace wire = talvoro::hid::virtual_wire;
using Bytes = std::vector<uint8_t>;

std::string out_folder;
int failures = 0;

void write_seed(const std::string& target, const std::string& name, const Bytes& bytes) {
    const fs::path folder = fs::path(out_folder) / target;
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
        ++failures;
    }
}

Bytes read_file(const std::string& path, size_t at_most = SIZE_MAX) {
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        ++failures;
    }
    bytes.resize(std::min(bytes.size(), at_most));
    return bytes;
}

// A 16-bit little-endian length and the packet, as the wire targets read their inputs.
void append_packet(Bytes& out, const uint8_t* packet, size_t length) {
    uint8_t prefix[2];
    wire::put_u16(prefix, static_cast<uint16_t>(length));
    out.insert(out.end(), prefix, prefix + 2);
    out.insert(out.end(), packet, packet + length);
}

void descriptors() {
    const auto span_bytes = [](std::span<const uint8_t> span) {
        return Bytes(span.begin(), span.end());
    };
    using namespace talvoro::test;
    write_seed("report_descriptor", "configuration", span_bytes(vm::configuration_descriptor()));
    write_seed("report_descriptor", "pointer", span_bytes(vm::pointer_descriptor()));
    write_seed("report_descriptor", "keyboard_consumer_configuration",
               composite({&kKeyboardCollection, &kConsumerCollection}));
    write_seed("report_descriptor", "other_vendors",
               composite({&kOtherVendorCollection, &kForeignPageCollection}));
}

// The store a person would have: defaults, two macros on buttons, edited levels.
talvoro::ProfileStorePtr edited_store() {
    using namespace talvoro;
    ProfileStorePtr store = allocate_zeroed_store();
    reset_all_profiles(*store, 205);
    MacroStore& macros = store->macro_store;
    macros.macro_count = 2;
    for (int m = 0; m < 2; ++m) {
        MacroRecord& macro = macros.macros[m];
        copy_text(macro.name, m == 0 ? "Reload" : "Burst fire");
        const char* steps[][3] = {{"k", " R ", "down"}, {"t", "", ""},
                                  {"k", " R ", "up"},   {"m", "Left Click        ", "down"},
                                  {"t", "", ""},        {"m", "Left Click        ", "up"}};
        macro.step_count = 6;
        for (int s = 0; s < 6; ++s) {
            copy_text(macro.steps[s].kind, steps[s][0]);
            copy_text(macro.steps[s].text,
                      steps[s][0][0] == 't' ? delay_text(40 + 10 * s) : steps[s][1]);
            copy_text(macro.steps[s].action, steps[s][2]);
        }
    }
    store->profiles[0].button_function[5] = kMacro;
    store->profiles[0].button_param[5] = 1;
    store->profiles[0].macro_play_mode[5] = 3;
    store->profiles[1].button_function[6] = kMacro;
    store->profiles[1].button_param[6] = 2;
    store->profiles[1].macro_play_mode[6] = 241;
    store->profiles[2].laser_cpi[0] = 1600;
    store->profiles[2].report_rate_hz = 500;
    store->current_profile = 2;
    return store;
}

void images_and_files() {
    using namespace talvoro;
    Bytes five_images{2};  // the current-profile byte first
    for (size_t slot = 0; slot < 5; ++slot) {
        const ProfileImage image = vm::factory_image(slot);
        write_seed("profile_image", "factory_" + std::to_string(slot),
                   Bytes(image.begin(), image.end()));
        five_images.insert(five_images.end(), image.begin(), image.end());
    }
    write_seed("profile_decode", "factory", five_images);

    // The edited store as apply packs it: images with macros in them.
    ProfileStorePtr store = edited_store();
    auto records = std::make_unique<DeviceRecords>();
    encode_profiles(*store, *records);
    Bytes packed{1};
    for (size_t slot = 0; slot < records->size(); ++slot) {
        auto image = std::make_unique<ProfileImage>();
        pack_profile((*records)[slot], *image);
        if (slot < 2) {
            write_seed("profile_image", "with_macro_" + std::to_string(slot),
                       Bytes(image->begin(), image->end()));
        }
        packed.insert(packed.end(), image->begin(), image->end());
    }
    write_seed("profile_decode", "with_macros", packed);

    const std::string scratch = out_folder + "/.files";
    fs::create_directories(scratch);
    setenv("TALVORO_DATA_DIR", scratch.c_str(), 1);
    ensure_program_folders();
    if (!write_all_profiles(*store, scratch + "/AllProfile") ||
        !write_profile_file(*store, scratch + "/profile.qxp", 0) ||
        !export_macro_file(store->macro_store, scratch + "/macros.qxm") || !write_language(1)) {
        std::fprintf(stderr, "the store's writers failed in %s\n", scratch.c_str());
        ++failures;
    }
    write_seed("all_profile", "edited_start", read_file(scratch + "/AllProfile", 4096));
    write_seed("profile_file", "edited", read_file(scratch + "/profile.qxp", 2048));
    for (const uint8_t selector : {0, 1}) {
        Bytes macro_file{selector};
        const Bytes start = read_file(scratch + "/macros.qxm", 4096);
        macro_file.insert(macro_file.end(), start.begin(), start.end());
        write_seed("macro_store", selector ? "import" : "store", macro_file);
    }
    write_seed("settings_ini", "config", read_file(settings_file_path()));
    FileMouseSettings desktop(scratch + "/desktop_mouse.ini");
    desktop.set_double_click_ms(450);
    desktop.set_wheel_lines(3);
    desktop.set_pointer_speed(10);
    write_seed("settings_ini", "desktop_mouse", read_file(desktop.path()));
    Bytes both = read_file(desktop.path());
    const Bytes config = read_file(settings_file_path());
    const std::string comment = "; kept by hand\r\n[Other]\r\nkey = \"quoted value\"\r\n";
    both.insert(both.end(), comment.begin(), comment.end());
    both.insert(both.end(), config.begin(), config.end());
    write_seed("settings_ini", "several_sections", both);
    fs::remove_all(scratch);
}

void layouts(const std::string& layout_folder) {
    const std::regex picture_attribute("\"(file='[^\"]*)\"");
    std::set<std::string> descriptors;
    for (const auto& entry : fs::directory_iterator(layout_folder)) {
        if (entry.path().extension() != ".xml") {
            continue;
        }
        const Bytes xml = read_file(entry.path().string());
        write_seed("layout_xml", entry.path().filename().string(), xml);
        const std::string text(xml.begin(), xml.end());
        for (std::sregex_iterator it(text.begin(), text.end(), picture_attribute), end; it != end;
             ++it) {
            descriptors.insert((*it)[1].str());
        }
    }
    int index = 0;
    for (const std::string& descriptor : descriptors) {
        write_seed("image_descriptor", "layout_" + std::to_string(index++),
                   Bytes(descriptor.begin(), descriptor.end()));
    }
}

void pictures() {
    using namespace talvoro::ui;
    // A small picture with alpha and colours, and a black-and-white mask with a hole.
    std::optional<Image> picture = Image::create(12, 9);
    std::optional<Image> mask = Image::create(16, 8);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            picture->set_pixel(
                x, y, Color{static_cast<uint8_t>(20 * y), static_cast<uint8_t>(20 * x), 60, 255});
        }
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool hole = (x < 2 && y < 2) || (x > 6 && x < 9 && y > 3);
            mask->set_pixel(x, y, hole ? Color{255, 255, 255, 255} : Color{255, 0, 0, 0});
        }
    }
    const std::string scratch = out_folder + "/.pictures";
    fs::create_directories(scratch);
    if (!write_png(*picture, scratch + "/picture.png") ||
        !talvoro::skins::write_bmp(*picture, scratch + "/picture.bmp") ||
        !talvoro::skins::write_bmp(*mask, scratch + "/mask.bmp")) {
        ++failures;
    }
    for (const char* name : {"picture.png", "picture.bmp", "mask.bmp"}) {
        write_seed("picture", name, read_file(scratch + "/" + name));
    }
    fs::remove_all(scratch);
}

// The library and the virtual mouse's firmware talking through a socket, as they do between two
// processes, with every request and every reply kept: the requests seed the mouse's side, the
// replies the library's.
void wire_session() {
    const std::string folder = out_folder + "/.hid";
    fs::create_directories(folder);
    chmod(folder.c_str(), 0700);
    setenv("TALVORO_HID_DIR", folder.c_str(), 1);
    setenv("TALVORO_HID_BACKENDS", "virtual", 1);
    talvoro::set_sleep_function([](std::chrono::milliseconds) {});
    const std::string path = folder + "/seed.if1" + wire::kSocketSuffix;
    const int listener = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    if (listener < 0 ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 4) != 0) {
        std::perror("seed mouse socket");
        ++failures;
        return;
    }
    Bytes requests;
    Bytes replies;
    std::thread mouse([&] {
        vm::TimePoint now{};
        vm::VirtualFirmware firmware(vm::factory_state(205), vm::FaultPlan{}, now);
        const vm::InterfaceIdentity interface = talvoro::fuzz::configuration_interface();
        // One connection per open; the session below opens the mouse once.
        const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        vm::HostSession host;
        uint8_t request[wire::kMaxPacket];
        ssize_t got;
        while ((got = recv(connection, request, sizeof request, 0)) > 0) {
            now += std::chrono::seconds(2);  // every wait of the protocol has passed
            const std::span<const uint8_t> packet(request, static_cast<size_t>(got));
            const Bytes reply = vm::answer_packet(interface, firmware, host, packet, now);
            append_packet(requests, request, static_cast<size_t>(got));
            append_packet(replies, reply.data(), reply.size());
            send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
        }
        close(connection);
    });
    uint16_t version = 0;
    uint8_t slot = 0;
    auto record = std::make_unique<ProfileRecord>();
    const bool read = Open_QX_device() == 1 && Get_fw_version(&version) == 1 &&
                      Get_current_profile_id(&slot) == 1 && Read_profile(0, record.get()) == 1;
    Close_QX_device();
    mouse.join();
    close(listener);
    fs::remove_all(folder);
    if (!read || version != 205) {
        std::fprintf(stderr, "the recorded session with the virtual mouse failed\n");
        ++failures;
    }
    write_seed("wire_request", "open_version_slot_read", requests);
    write_seed("wire_reply", "open_version_slot_read", replies);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: talvoro_fuzz_seeds OUT LAYOUTS\n");
        return 2;
    }
    out_folder = argv[1];
    descriptors();
    images_and_files();
    layouts(argv[2]);
    pictures();
    wire_session();
    return failures == 0 ? 0 : 1;
}
