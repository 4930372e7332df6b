#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/device_watcher.h"
#include "support/temp_folder.h"

namespace talvoro::platform {
namespace {

// Only this user may put interfaces in a folder the watcher makes.
TEST(DeviceWatcherFolder, AMissingFolderIsMadePrivate) {
    test::TempFolder folder;
    const std::string missing = folder.file("later");
    test::ScopedEnv env("TALVORO_HID_DIR", missing);
    DeviceWatcher watcher([] {});
    ASSERT_TRUE(watcher.start());
    struct stat info {};
    ASSERT_EQ(::stat(missing.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

}  // namespace
}  // namespace talvoro::platform
