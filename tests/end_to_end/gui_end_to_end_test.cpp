// The real program on a real X display (Xvfb), driven with xdotool like a user: it starts with a
// virtual mouse that keeps the protocol's real timing, reads it, switches through the four tabs,
// chooses profile 3 and applies it; the mouse's state file must then say profile 3 is current.
// The screen positions of the controls come from the program's own UI dump.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "support/program_run.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"

namespace talvoro::test {
namespace {

constexpr size_t kStateCurrentSlot = 10240;
// Xvfb names its display once it listens; on a machine busy with sanitizer builds that has taken
// more than ten seconds.
constexpr int kXvfbStartMs = 60000;

struct DumpedControl {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool visible = false;
    std::optional<bool> selected;
};

std::optional<DumpedControl> find_in_dump(const std::string& dump_path, const std::string& name) {
    std::ifstream in(dump_path);
    std::string line;
    const std::regex pattern(
        "\"name\":\"" + name +
        "\",\"rect\":\\[(-?\\d+),(-?\\d+),(-?\\d+),(-?\\d+)\\],\"visible\":(true|false)"
        ",\"text\":\"(?:[^\"\\\\]|\\\\.)*\"(?:,\"selected\":(true|false))?");
    while (std::getline(in, line)) {
        std::smatch match;
        if (std::regex_search(line, match, pattern)) {
            DumpedControl control{std::stoi(match[1]), std::stoi(match[2]), std::stoi(match[3]),
                                  std::stoi(match[4]), match[5] == "true",  std::nullopt};
            if (match[6].matched) {
                control.selected = match[6] == "true";
            }
            return control;
        }
    }
    return std::nullopt;
}

bool wait_for(const std::function<bool()>& done, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

class GuiEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        start_xvfb();
        ASSERT_FALSE(display_.empty()) << "Xvfb could not be started (scripts/test installs it)";
    }
    void TearDown() override {
        for (pid_t pid : {gui_, xvfb_}) {
            if (pid > 0) {
                kill(pid, SIGTERM);
                int status = 0;
                waitpid(pid, &status, 0);
            }
        }
    }

    void start_xvfb() {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        xvfb_ = fork();
        if (xvfb_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char number[16] = {};
        pollfd ready{fds[0], POLLIN, 0};
        if (poll(&ready, 1, kXvfbStartMs) == 1 && read(fds[0], number, sizeof number - 1) > 0) {
            display_ = ":" + std::string(number, strcspn(number, "\n"));
        }
        close(fds[0]);
    }

    void start_gui() {
        gui_ = fork();
        if (gui_ == 0) {
            setenv("DISPLAY", display_.c_str(), 1);
            setenv("TALVORO_UI_DUMP", dump_.c_str(), 1);
            setenv("TALVORO_DATA_DIR", (folder_.path() + "/data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", folder_.path().c_str(), 1);
            setenv("TALVORO_DESKTOP_SETTINGS", "file", 1);
            // In the sanitizer build: the display libraries' own allocations live to the end.
            setenv("LSAN_OPTIONS", "suppressions=" TALVORO_LSAN_SUPPRESSIONS, 1);
            const std::string program = built_program("talvoro_gui");
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    // Clicks the middle of a control where the program says it is on the screen.
    void click(const std::string& name) {
        const auto control = find_in_dump(dump_, name);
        ASSERT_TRUE(control.has_value()) << name << " is not in the dump";
        const int x = (control->left + control->right) / 2;
        const int y = (control->top + control->bottom) / 2;
        setenv("DISPLAY", display_.c_str(), 1);
        const ProgramResult moved = run_program(
            "/usr/bin/xdotool",
            {"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "click", "1"}, 10);
        ASSERT_EQ(moved.exit_status, 0) << moved.err;
    }

    bool shown(const std::string& name) {
        const auto control = find_in_dump(dump_, name);
        return control && control->visible;
    }
    bool selected(const std::string& name) {
        const auto control = find_in_dump(dump_, name);
        return control && control->selected.value_or(false);
    }

    TempFolder folder_;
    ScopedEnv hid_dir_{"TALVORO_HID_DIR", folder_.path() + "/hid"};
    ScopedEnv backends_{"TALVORO_HID_BACKENDS", "virtual"};
    std::string dump_ = folder_.path() + "/ui.json";
    std::string display_;
    pid_t xvfb_ = -1;
    pid_t gui_ = -1;
};

TEST_F(GuiEndToEnd, ClickingThroughTheTabsAndApplyingChangesTheMouse) {
    VirtualMouseProcess mouse(folder_.path() + "/hid");
    ASSERT_EQ(mouse.read_state().at(kStateCurrentSlot), 0);
    start_gui();
    ASSERT_TRUE(wait_for([&] { return shown("maincontrolbtn"); }, 20)) << "no window";
    // The start-up read selects the mouse's profile and lights it.
    ASSERT_TRUE(wait_for(
        [&] { return selected("profile1option") && selected("ledlightonoffoption"); }, 20));

    const char* tabs[] = {"performancebtn", "macromanagebtn", "techsupportbtn", "maincontrolbtn"};
    const char* pages[] = {"performance_root", "macromanage_root", "techsupport_root",
                           "maincontrol_root"};
    for (int i = 0; i < 4; ++i) {
        click(tabs[i]);
        EXPECT_TRUE(wait_for([&] { return shown(pages[i]); }, 10)) << pages[i];
    }

    click("profile3option");
    ASSERT_TRUE(wait_for([&] { return selected("profile3option"); }, 10));
    if (!selected("profile3_inuse_option")) {
        click("profile3_inuse_option");
    }
    click("profileokbtn");
    ASSERT_TRUE(wait_for([&] { return shown("popup_message_ok_btn"); }, 10)) << "no confirmation";
    click("popup_message_ok_btn");
    EXPECT_TRUE(wait_for([&] { return mouse.read_state().at(kStateCurrentSlot) == 2; }, 20))
        << "the apply did not reach the mouse";
    EXPECT_TRUE(wait_for([&] { return !shown("popup_message_ok_btn"); }, 10));

    // The window system's close ends the program at once.
    kill(gui_, SIGTERM);
    int status = -1;
    ASSERT_TRUE(wait_for([&] { return waitpid(gui_, &status, WNOHANG) == gui_; }, 10));
    gui_ = -1;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace talvoro::test
