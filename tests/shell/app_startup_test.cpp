// Start-up in its order: one instance per user, the library bound by file name, the window.
// The device library here is the real one beside the tests, with its real waits.
#include <filesystem>

#include "platform/single_instance.h"
#include "shell/oskel_mice_app.h"
#include "shell_fixture.h"

namespace talvoro::test {
namespace {

class StartUpTest : public ShellTest {
  protected:
    shell::AppOptions options(const std::string& library = kDeviceLibraryFile) {
        shell::AppOptions options;
        options.services.notices = &notices_;
        options.services.profile_dialogs = &dialogs_;
        options.services.desktop = &desktop_;
        options.services.watch_devices = false;
        options.library_file = library;
        options.instance_folder = instance_folder_;
        options.use_display = false;
        return options;
    }
    void SetUp() override { ASSERT_TRUE(std::filesystem::create_directory(instance_folder_)); }
    std::string instance_folder_ = folder_.path() + "/run";
};

TEST_F(StartUpTest, WithoutTheLibraryTheProgramSaysSoAndOpensNoWindow) {
    shell::COskelMiceApp app(options("talvoro_missing_library"));
    EXPECT_EQ(app.start(), shell::COskelMiceApp::Start::kNoLibrary);
    EXPECT_EQ(app.main_window(), nullptr);
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, "load QX api failed !\n");
    EXPECT_EQ(notices_.shown[0].caption, "Notice by App");
}

TEST_F(StartUpTest, AMissingExportIsToldOnceAndTheWindowStillOpens) {
    shell::COskelMiceApp app(options(TALVORO_API_WITHOUT_READ_FILE));
    ASSERT_EQ(app.start(), shell::COskelMiceApp::Start::kRunning);
    ASSERT_NE(app.main_window(), nullptr);
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text, "Load Read_profile Fail !\n");
    EXPECT_TRUE(app.main_window()->visible());
    EXPECT_EQ(app.main_window()->title(), " Morvane Talvoro Mouse Utility ");
    EXPECT_EQ(app.main_window()->rect().width(), 1025);
    EXPECT_EQ(app.main_window()->rect().height(), 701);
    EXPECT_FALSE(app.main_window()->shape().empty()) << "shaped by the mask bitmap";
}

TEST_F(StartUpTest, TheFirstPassThroughTheLoopReadsTheMouse) {
    auto& mouse = start_mouse();
    (void)mouse;
    shell::COskelMiceApp app(options());
    ASSERT_EQ(app.start(), shell::COskelMiceApp::Start::kRunning);
    // The read waits for the loop: the window is first shown as it is.
    EXPECT_EQ(app.store()->current_profile, 0);
    pump();
    EXPECT_FALSE(app.main_window()->device_absent());
    EXPECT_EQ(app.store()->current_profile, 1);
    EXPECT_TRUE(notices_.shown.empty());
}

TEST_F(StartUpTest, ASecondStartSignalsTheFirstAndEndsQuietly) {
    shell::COskelMiceApp first(options());
    ASSERT_EQ(first.start(), shell::COskelMiceApp::Start::kRunning);
    shell::COskelMiceApp second(options());
    EXPECT_EQ(second.start(), shell::COskelMiceApp::Start::kSecondInstance);
    EXPECT_EQ(second.main_window(), nullptr);
    EXPECT_EQ(second.store(), nullptr) << "no store, no folder, no window";
    EXPECT_TRUE(notices_.shown.empty());
}

TEST_F(StartUpTest, AnInstanceStillStartingMakesTheSecondStartSaySo) {
    platform::SingleInstance starting(shell::kApplicationName, instance_folder_);
    ASSERT_EQ(starting.acquire(), platform::SingleInstance::Role::kFirst);
    shell::COskelMiceApp second(options());
    EXPECT_EQ(second.start(), shell::COskelMiceApp::Start::kSecondInstance);
    ASSERT_EQ(notices_.shown.size(), 1u);
    EXPECT_EQ(notices_.shown[0].text,
              "AP have been opened, please load it from the right-bottom corner ! ");
}

}  // namespace
}  // namespace talvoro::test
