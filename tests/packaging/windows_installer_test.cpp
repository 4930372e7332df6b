// The Windows installer as a person (or a script) uses it, under Wine in a prefix of the test's
// own: a silent install for the current user puts the programs, the library, the pictures,
// layouts and faces under %LOCALAPPDATA%\Programs\Talvoro with a Start-menu shortcut and an
// entry in the installed apps, over an older version when TALVORO_WINDOWS_OLDER_INSTALLER names
// one; the installed programs run (talvoro_cli --version, and
// talvoro_gui to its first frame against the installed virtual mouse); installing again
// replaces the install in place; a silent uninstall takes every installed file, the shortcut
// and the entry away and keeps what the program wrote. Needs the installer:
// TALVORO_WINDOWS_INSTALLER names it (scripts/test sets it after scripts/package --windows);
// without it the test is skipped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/linux/wine_session.h"
#include "support/linux/xvfb_display.h"
#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"

namespace talvoro::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstallKey =
    "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Talvoro";

// Runs a command line of the session and gives its result.
ProgramResult run_line(const std::vector<std::string>& line, int timeout_s = 120) {
    return run_program(line.front(), std::vector<std::string>(line.begin() + 1, line.end()),
                       timeout_s);
}

// Every file under `root`, relative to it.
std::set<std::string> files_under(const fs::path& root) {
    std::set<std::string> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_regular_file()) {
            files.insert(fs::relative(it->path(), root).generic_string());
        }
    }
    return files;
}

class WindowsInstallerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* installer = std::getenv("TALVORO_WINDOWS_INSTALLER");
        if (installer == nullptr || *installer == '\0') {
            GTEST_SKIP() << "TALVORO_WINDOWS_INSTALLER names no installer";
        }
        installer_ = installer;
        ASSERT_TRUE(fs::is_regular_file(installer_)) << installer_;
        ASSERT_FALSE(xvfb_.display().empty()) << "Xvfb could not be started";
        wine_ = std::make_unique<WineSession>(fs::path(installer_).parent_path().string(),
                                              xvfb_.display(), folder_.path() + "/prefix");
        ASSERT_EQ(wine_->boot(), "");
    }

    // The Windows user's own folders in the prefix.
    fs::path user_folder() const {
        for (const auto& entry : fs::directory_iterator(folder_.path() + "/prefix/drive_c/users")) {
            if (entry.path().filename() != "Public") {
                return entry.path();
            }
        }
        return {};
    }
    fs::path install_folder() const { return user_folder() / "AppData/Local/Programs/Talvoro"; }

    // The setup's own status. Not through a pipe: the shell it asks for the shortcut stays,
    // holding whatever output it was given.
    static int run_setup(const std::vector<std::string>& line) {
        return WineSession::wait(WineSession::start(line), 120000);
    }

    void install(const std::string& installer) {
        std::vector<std::string> line =
            WineSession::system_command(WineSession::windows_path(installer));
        line.insert(line.end(), {"/S", "/CURRENTUSER"});
        ASSERT_EQ(run_setup(line), 0);
        ASSERT_TRUE(fs::is_regular_file(install_folder() / "Uninstall.exe"));
    }

    // A value of the installed-apps entry, as reg.exe prints it; empty when it is not there.
    // `root` is HKCU for an install for the current user, HKLM for one for all users.
    std::string registry_value(const std::string& name, const std::string& root = "HKCU") const {
        std::vector<std::string> line = WineSession::system_command("reg");
        line.insert(line.end(), {"query", root + kUninstallKey, "/v", name, "/reg:64"});
        const ProgramResult result = run_line(line, 30);
        const size_t at = result.out.find(name);
        if (result.exit_status != 0 || at == std::string::npos) {
            return {};
        }
        std::string rest = result.out.substr(at + name.size());
        const size_t type_end = rest.find("REG_");
        rest =
            type_end == std::string::npos ? rest : rest.substr(rest.find_first_of(" \t", type_end));
        const size_t first = rest.find_first_not_of(" \t");
        const size_t last = rest.find_last_not_of(" \t\r\n");
        return first == std::string::npos ? std::string() : rest.substr(first, last - first + 1);
    }

    std::string in_windows(const fs::path& path) const {
        return "C:\\" + fs::relative(path, folder_.path() + "/prefix/drive_c").string();
    }

    TempFolder folder_;
    XvfbDisplay xvfb_;
    std::string installer_;
    std::unique_ptr<WineSession> wine_;
};

TEST_F(WindowsInstallerTest, InstallsRunsReplacesAndUninstallsKeepingTheUsersData) {
    // An older version first, when there is one: the new one replaces it in place.
    const char* older = std::getenv("TALVORO_WINDOWS_OLDER_INSTALLER");
    if (older != nullptr && *older != '\0') {
        ASSERT_NO_FATAL_FAILURE(install(older));
        EXPECT_NE(registry_value("DisplayVersion"), TALVORO_VERSION);
        EXPECT_FALSE(registry_value("DisplayVersion").empty());
    }
    ASSERT_NO_FATAL_FAILURE(install(installer_));
    const fs::path home = install_folder();
    const std::set<std::string> installed = files_under(home);
    for (const char* file :
         {"talvoro_gui.exe", "talvoro_cli.exe", "talvoro_probe.exe", "talvoro_virtual_mouse.exe",
          "talvoro_api.dll", "TalvoroSkin/Background_mask.bmp",
          "TalvoroSkin/Background_mask@2x.png", "TalvoroSkin3/MCBox.bmp", "layouts/main_window.xml",
          "fonts/DejaVuSans.ttf"}) {
        EXPECT_TRUE(installed.count(file)) << file << " is not installed";
    }
    EXPECT_TRUE(
        fs::is_regular_file(user_folder() / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/"
                                            "Talvoro Mouse Utility.lnk"))
        << "no Start-menu shortcut";

    // The installed-apps entry.
    EXPECT_EQ(registry_value("DisplayName"), "Talvoro Mouse Utility");
    EXPECT_EQ(registry_value("DisplayVersion"), TALVORO_VERSION);
    EXPECT_EQ(registry_value("Publisher"), "Talvoro");
    EXPECT_NE(registry_value("DisplayIcon").find("talvoro_gui.exe"), std::string::npos);
    EXPECT_NE(registry_value("UninstallString").find("Uninstall.exe"), std::string::npos);
    EXPECT_NE(registry_value("QuietUninstallString").find("/S"), std::string::npos);
    EXPECT_FALSE(registry_value("EstimatedSize").empty());

    // The installed programs run: the command line, and the window to its first frame against
    // the installed virtual mouse.
    const ProgramResult version = run_line(
        [&] {
            std::vector<std::string> line =
                WineSession::system_command(in_windows(home / "talvoro_cli.exe"));
            line.push_back("--version");
            return line;
        }(),
        60);
    EXPECT_EQ(version.exit_status, 0) << version.err;
    EXPECT_NE(version.out.find(TALVORO_VERSION), std::string::npos) << version.out;

    fs::create_directories(folder_.path() + "/hid");
    const std::string hid = WineSession::windows_path(folder_.path() + "/hid");
    std::vector<std::string> mouse_line =
        WineSession::system_command(in_windows(home / "talvoro_virtual_mouse.exe"));
    mouse_line.insert(mouse_line.end(),
                      {"--dir", hid, "--state", WineSession::windows_path(folder_.file("state"))});
    const pid_t mouse = WineSession::start(mouse_line);
    ASSERT_GT(mouse, 0);
    ASSERT_TRUE(wait_for([&] { return fs::exists(folder_.file("hid/talvoro.if1.hid")); }, 30))
        << "the installed virtual mouse did not start";
    const fs::path frame = folder_.file("frame");
    {
        const ScopedEnv hid_dir("TALVORO_HID_DIR", hid);
        const ScopedEnv backends("TALVORO_HID_BACKENDS", "virtual");
        const ScopedEnv frame_file("TALVORO_FRAME_FILE", WineSession::windows_path(frame));
        const pid_t gui =
            WineSession::start(WineSession::system_command(in_windows(home / "talvoro_gui.exe")));
        ASSERT_GT(gui, 0);
        EXPECT_TRUE(wait_for([&] { return fs::exists(frame); }, 60)) << "no first frame";
        // Long enough to read the mouse and keep what it read, as a person's first start does.
        std::this_thread::sleep_for(std::chrono::seconds(3));
        WineSession::kill(gui);
    }
    WineSession::kill(mouse);
    // What the program wrote beside itself (its data folder in a per-user install).
    std::set<std::string> written;
    for (const std::string& file : files_under(home)) {
        if (!installed.count(file)) {
            written.insert(file);
        }
    }
    // A marker of the user's own, as a saved profile would be.
    std::ofstream(home / "my profile.qxp") << "kept";
    written.insert("my profile.qxp");

    // Installing again replaces the install where it is, with one entry.
    ASSERT_NO_FATAL_FAILURE(install(installer_));
    EXPECT_EQ(files_under(home).size(), installed.size() + written.size());

    std::vector<std::string> uninstall =
        WineSession::system_command(in_windows(home / "Uninstall.exe"));
    uninstall.push_back("/S");
    EXPECT_EQ(run_setup(uninstall), 0);
    // The uninstaller hands over to a copy of itself and ends at once: wait for its work.
    EXPECT_TRUE(wait_for([&] { return !fs::exists(home / "talvoro_gui.exe"); }, 60));
    EXPECT_TRUE(wait_for([&] { return !fs::exists(home / "Uninstall.exe"); }, 30));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(files_under(home), written) << "installed files left, or the user's data gone";
    EXPECT_EQ(registry_value("DisplayName"), "") << "the installed-apps entry stayed";
    EXPECT_FALSE(fs::exists(user_folder() / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs/"
                                            "Talvoro Mouse Utility.lnk"));
}

// Started elevated (under Wine every program is), the setup installs for all users: under
// Program Files, with the entry in HKLM, and its uninstaller takes it all away again.
TEST_F(WindowsInstallerTest, AnElevatedSetupInstallsForAllUsers) {
    ASSERT_EQ(run_setup([&] {
                  std::vector<std::string> line =
                      WineSession::system_command(WineSession::windows_path(installer_));
                  line.push_back("/S");
                  return line;
              }()),
              0);
    const fs::path home = fs::path(folder_.path()) / "prefix/drive_c/Program Files/Talvoro";
    ASSERT_TRUE(fs::is_regular_file(home / "talvoro_gui.exe"));
    EXPECT_EQ(registry_value("DisplayName", "HKLM"), "Talvoro Mouse Utility");
    EXPECT_EQ(registry_value("DisplayName", "HKCU"), "");
    std::vector<std::string> uninstall =
        WineSession::system_command(in_windows(home / "Uninstall.exe"));
    uninstall.push_back("/S");
    EXPECT_EQ(run_setup(uninstall), 0);
    EXPECT_TRUE(wait_for([&] { return !fs::exists(home); }, 60)) << "the folder stayed";
    EXPECT_EQ(registry_value("DisplayName", "HKLM"), "");
}

}  // namespace
}  // namespace talvoro::test
