// talvoro_cli as a user runs it, against a virtual mouse with the real waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "profile_image.h"
#include "store/key_table.h"
#include "store/profile_store.h"
#include "store/store_text.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/utf8_path.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

constexpr size_t kStoreSize = 7207546;
constexpr size_t kStateSlot = 10240;
constexpr size_t kStateLedDark = 10241;
constexpr size_t kImageSize = 2048;
// A byte of each image that no record carries: a profile the mouse is sent again has it zero.
constexpr size_t kUncarriedByte = kImageSize - 1;

// Profile `profile` (1..5) as the mouse holds it in its state file.
ProfileRecord state_profile(const std::vector<uint8_t>& state, int profile) {
    ProfileImage image;
    std::memcpy(image.data(), state.data() + (profile - 1) * kImageSize, kImageSize);
    ProfileRecord record{};
    unpack_profile(image, record);
    return record;
}

// A macro file of one macro named `name`: `keys` presses of A, each pressed and released.
void write_macro_file(const std::string& path, const char* name, int keys) {
    auto macros = std::make_unique<MacroStore>();
    std::memset(macros.get(), 0, sizeof(MacroStore));
    macros->macro_count = 1;
    MacroRecord& macro = macros->macros[0];
    copy_text(macro.name, name);
    macro.step_count = 2 * keys;
    for (int s = 0; s < macro.step_count; ++s) {
        copy_text(macro.steps[s].kind, "k");
        copy_text(macro.steps[s].text, " A ");
        copy_text(macro.steps[s].action, s % 2 == 0 ? "down" : "up");
    }
    std::ofstream(utf8_path(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(macros.get()), sizeof(MacroStore));
}

class Cli : public ::testing::Test {
  protected:
    // Lines end in "\n" here whatever the system ends them with (a Windows console: "\r\n").
    ProgramResult cli(const std::vector<std::string>& args) {
        ProgramResult result = run_program(built_program("talvoro_cli"), args);
        for (std::string* text : {&result.out, &result.err}) {
            std::erase(*text, '\r');
        }
        return result;
    }

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path()};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    ScopedEnv data_dir_{"TALVORO_DATA_DIR", folder_.path()};
    ScopedEnv desktop_{"TALVORO_DESKTOP_SETTINGS", "file"};
};

TEST_F(Cli, ReadApplyReadRoundTrips) {
    VirtualMouseProcess mouse(folder_.path());
    const std::string first = folder_.file("first.all");
    const std::string second = folder_.file("second.all");
    ProgramResult result = cli({"read", first});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    const std::string image = file_contents(first);
    ASSERT_EQ(image.size(), kStoreSize);

    // Make profile 4 current in the image (current_profile is its first int).
    std::string changed = image;
    changed[0] = 4;
    std::ofstream(first, std::ios::binary | std::ios::trunc) << changed;
    result = cli({"apply", first});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(mouse.read_state().at(kStateSlot), 3);

    result = cli({"read", second});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(file_contents(second), changed) << "what was applied is what is read back";

    result = cli({"show"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find("profile 4 (current)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("button 1         Left Click"), std::string::npos);
    result = cli({"show", second});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_NE(result.out.find("firmware V1.05"), std::string::npos) << result.out;
}

TEST_F(Cli, FailuresAreToldAndLeaveFilesAlone) {
    const std::string target = folder_.file("never.all");
    ProgramResult result = cli({"read", target});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_NE(result.err.find("no Talvoro mouse answers"), std::string::npos) << result.err;
    EXPECT_FALSE(std::ifstream(target).good()) << "nothing is written when the read fails";

    std::ofstream(folder_.file("empty.all"));
    result = cli({"apply", folder_.file("empty.all")});
    EXPECT_EQ(result.exit_status, 4);
    EXPECT_NE(result.err.find("is empty"), std::string::npos);
    result = cli({"show", folder_.file("missing.all")});
    EXPECT_EQ(result.exit_status, 4);
    EXPECT_NE(result.err.find("cannot open"), std::string::npos);
    EXPECT_EQ(cli({"frobnicate"}).exit_status, 2);
    EXPECT_EQ(cli({"read"}).exit_status, 2);

    VirtualMouseProcess mouse(folder_.path(), {"--refuse", "0x08"});
    // A short, hand-cut image loads (the rest reads as zero) but the mouse refuses it.
    std::ofstream(folder_.file("short.all"), std::ios::binary) << std::string(100, '\1');
    const std::vector<uint8_t> before = mouse.read_state();
    result = cli({"apply", folder_.file("short.all")});
    EXPECT_EQ(result.exit_status, 3);
    EXPECT_NE(result.err.find("status 255"), std::string::npos) << result.err;
    EXPECT_EQ(mouse.read_state(), before);
}

// Names reach the program whole, whatever the system's code page: on Windows they come from the
// wide command line, not from the ANSI argv.
TEST_F(Cli, FilesNamedInAnyScriptAreFound) {
    const std::string path = folder_.file("Pr\u00FCfung \u6EDA\u8F6E.all");
    std::string image(kStoreSize, '\0');
    image[0] = 3;  // current_profile
    std::ofstream(utf8_path(path), std::ios::binary) << image;
    const ProgramResult result = cli({"show", path});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find("profile 3 (current)"), std::string::npos) << result.out;
    EXPECT_EQ(cli({"show", path + "x"}).exit_status, 4);
}

// One setting reaches the mouse: only its profile is sent again, the program's files follow, and
// the same change once more sends nothing.
TEST_F(Cli, OneSettingIsWrittenToItsProfileAloneAndToTheProgramsFiles) {
    { VirtualMouseProcess first(folder_.path()); }
    // Mark every image where no record reaches, to see which ones are written again.
    std::string marked = file_contents(folder_.file("talvoro.state"));
    for (size_t p = 0; p < 5; ++p) {
        marked[p * kImageSize + kUncarriedByte] = '\xAA';
    }
    std::ofstream(utf8_path(folder_.file("talvoro.state")), std::ios::binary) << marked;
    VirtualMouseProcess mouse(folder_.path());

    ProgramResult result = cli({"set", "2", "dpi", "1", "1600x800"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, "done: 1 profile(s) written, profile 1 is current\n");
    std::vector<uint8_t> state = mouse.read_state();
    const ProfileRecord written = state_profile(state, 2);
    EXPECT_EQ(written.cpi[0], 1600);
    EXPECT_EQ(written.cpi[1], 800);
    for (size_t p = 0; p < 5; ++p) {
        EXPECT_EQ(state[p * kImageSize + kUncarriedByte], p == 1 ? 0 : 0xAA) << "profile " << p + 1;
    }
    // The program's files hold what the mouse now has, as after an apply in the window.
    const std::string all = file_contents(folder_.file("profile/AllProfile"));
    ASSERT_EQ(all.size(), kStoreSize);
    auto store = std::make_unique<ProfileStore>();
    std::memcpy(store.get(), all.data(), kStoreSize);
    EXPECT_EQ(+store->profiles[1].laser_cpi[0], 1600);
    EXPECT_EQ(+store->profiles[1].laser_cpi[1], 800);
    EXPECT_EQ(file_contents(folder_.file("profile/Macros")).size(), sizeof(MacroStore));

    result = cli({"set", "2", "dpi", "1", "1600x800"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, "the mouse has this already\n");
    EXPECT_EQ(mouse.read_state(), state);

    result = cli({"get", "--profile", "2", "--json"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find(R"("dpi":[{"level":1,"x":1600,"y":800},)"), std::string::npos)
        << result.out;
}

// Every setting of the set command, and the profile and LED commands, as the mouse stores them.
TEST_F(Cli, EachSettingReachesItsFieldOnTheMouse) {
    VirtualMouseProcess mouse(folder_.path());
    const struct {
        std::vector<std::string> args;
        std::function<bool(const ProfileRecord&)> holds;
    } cases[] = {
        {{"set", "4", "rate", "125"},
         [](const ProfileRecord& r) { return r.report_rate_code == 5; }},
        {{"set", "4", "lift-off", "8"},
         [](const ProfileRecord& r) { return r.lift_off_code == 18; }},
        {{"set", "4", "angle-snapping", "6"},
         [](const ProfileRecord& r) { return r.angle_snapping == 6; }},
        {{"set", "4", "smoothing", "on"}, [](const ProfileRecord& r) { return r.smoothing == 1; }},
        {{"set", "4", "power-save", "120"},
         [](const ProfileRecord& r) { return r.power_save_seconds == 120; }},
        {{"set", "4", "dpi", "4", "200"},
         [](const ProfileRecord& r) { return r.cpi[6] == 200 && r.cpi[7] == 200; }},
        {{"button", "4", "3", "disable"},
         [](const ProfileRecord& r) { return r.buttons[2].function_type == 0xFF; }},
        {{"button", "4", "3", "default"},
         [](const ProfileRecord& r) {
             return r.buttons[2].function_type == 0 && r.buttons[2].function_param == 4;
         }},
        {{"profile", "disable", "4"}, [](const ProfileRecord& r) { return r.in_use == 0; }},
        {{"profile", "enable", "4"}, [](const ProfileRecord& r) { return r.in_use == 1; }},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> before = mouse.read_state();
        const ProgramResult result = cli(c.args);
        ASSERT_EQ(result.exit_status, 0) << c.args[2] << ": " << result.err;
        const std::vector<uint8_t> after = mouse.read_state();
        EXPECT_TRUE(c.holds(state_profile(after, 4))) << c.args[2] << " " << c.args.back();
        // The other four profiles are not sent at all.
        for (size_t p = 0; p < 5; ++p) {
            if (p != 3) {
                EXPECT_TRUE(std::equal(before.begin() + p * kImageSize,
                                       before.begin() + (p + 1) * kImageSize,
                                       after.begin() + p * kImageSize))
                    << c.args[2] << ": profile " << p + 1;
            }
        }
    }
    ASSERT_EQ(cli({"led", "off"}).exit_status, 0);
    EXPECT_EQ(mouse.read_state().at(kStateLedDark), 1);
    ASSERT_EQ(cli({"led", "on"}).exit_status, 0);
    EXPECT_EQ(mouse.read_state().at(kStateLedDark), 0);

    // A saved store prints as the mouse does.
    ASSERT_EQ(cli({"read", folder_.file("saved.all")}).exit_status, 0);
    const ProgramResult mouse_json = cli({"get", "--json"});
    const ProgramResult file_json = cli({"show", folder_.file("saved.all"), "--json"});
    ASSERT_EQ(file_json.exit_status, 0) << file_json.err;
    EXPECT_EQ(file_json.out, mouse_json.out);
    EXPECT_NE(file_json.out.find(R"("report_rate_hz":125,"power_save_seconds":120,)"),
              std::string::npos)
        << file_json.out;
}

// Buttons, profiles and macros, each through the mouse and back.
TEST_F(Cli, ButtonsProfilesAndMacrosReachTheMouse) {
    VirtualMouseProcess mouse(folder_.path());
    ProgramResult result = cli({"button", "1", "4", "key", "F5"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    ProfileRecord record = state_profile(mouse.read_state(), 1);
    EXPECT_EQ(record.buttons[3].function_type, 2);
    EXPECT_EQ(record.buttons[3].function_param, key_by_name(" F5 ")->usage);

    result = cli({"profile", "use", "3"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(mouse.read_state().at(kStateSlot), 2);

    // A macro imported in one run is there to be given to a button in the next.
    write_macro_file(folder_.file("fire.qxm"), "Fire", 3);
    result = cli({"macro", "import", folder_.file("fire.qxm")});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    result = cli({"button", "1", "5", "macro", "Fire", "--times", "3"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    record = state_profile(mouse.read_state(), 1);
    EXPECT_EQ(record.buttons[4].function_type, 3);
    EXPECT_EQ(record.buttons[4].function_param, 3);
    EXPECT_EQ(record.macros[4].event_count, 6);

    result = cli({"macro", "list", "--json"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_EQ(result.out, "[{\"number\":1,\"name\":\"Fire\",\"steps\":6}]\n");
    result = cli({"macro", "show", "Fire", "--json"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    EXPECT_NE(result.out.find(R"({"kind":"key","text":"A","action":"down"})"), std::string::npos)
        << result.out;
    result = cli({"macro", "export", "Fire", folder_.file("out.qxm")});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    // The same macro, now numbered as the mouse plays it.
    const std::string exported = file_contents(folder_.file("out.qxm"));
    const std::string imported = file_contents(folder_.file("fire.qxm"));
    ASSERT_EQ(exported.size(), imported.size());
    EXPECT_TRUE(exported.substr(8) == imported.substr(8));

    result = cli({"macro", "delete", "Fire"});
    ASSERT_EQ(result.exit_status, 0) << result.err;
    record = state_profile(mouse.read_state(), 1);
    EXPECT_EQ(record.buttons[4].function_type, 11) << "back to DPI Down";
    EXPECT_EQ(cli({"macro", "list"}).out, "");
}

// Bad input is one line on stderr and status 2, and neither the mouse nor a file changes; a
// failed exchange is status 1.
TEST_F(Cli, BadInputAndFailedExchangesWriteNothing) {
    ProgramResult result = cli({"set", "1", "rate", "500"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_NE(result.err.find("no Talvoro mouse answers"), std::string::npos) << result.err;

    VirtualMouseProcess mouse(folder_.path());
    write_macro_file(folder_.file("long.qxm"), "Long", 100);
    ASSERT_EQ(cli({"macro", "import", folder_.file("long.qxm")}).exit_status, 0);
    const std::vector<uint8_t> state = mouse.read_state();
    const std::string all = file_contents(folder_.file("profile/AllProfile"));
    const std::vector<std::vector<std::string>> refused = {
        {"set", "6", "rate", "500"},
        {"set", "1", "dpi", "1", "8250"},
        {"button", "1", "2", "Warp Drive"},
        {"button", "1", "1", "disable"},
        {"button", "1", "2", "macro", "Nothing"},
        {"macro", "show", "Nothing"},
        {"profile", "frob", "1"},
        {"button", "1", "2", "macro", "Long"},  // 200 key events: the mouse takes 128
    };
    for (const auto& args : refused) {
        result = cli(args);
        EXPECT_EQ(result.exit_status, 2) << args.back() << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_NE(result.err.find("too long for the mouse"), std::string::npos) << result.err;
    // Compared whole, not printed: they are megabytes.
    EXPECT_TRUE(mouse.read_state() == state);
    EXPECT_TRUE(file_contents(folder_.file("profile/AllProfile")) == all);
}

}  // namespace
}  // namespace talvoro::test
