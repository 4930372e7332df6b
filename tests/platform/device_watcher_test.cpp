// The program's device watcher against virtual mice in a private folder, through their real
// transport: what arrives and leaves, with which ids, and what is passed over.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/device_watcher.h"
#include "support/temp_folder.h"
#include "support/virtual_mouse_process.h"
#include "watch/virtual_identity.h"
#include "watch/virtual_interface_name.h"

namespace talvoro::platform {
namespace {

using std::chrono::seconds;
using test::ScopedEnv;
using test::TempFolder;
using test::VirtualMouseProcess;
using watch::ChangeKind;
using watch::InterfaceOrigin;
using watch::parse_virtual_interface_name;
using watch::query_virtual_identity;

// A watcher on a private virtual-HID folder, collecting what it delivers.
class DeviceWatcherTest : public ::testing::Test {
  protected:
    DeviceWatcherTest() : env_("TALVORO_HID_DIR", folder_.path()) {}

    // Waits until `count` changes have been delivered (at most 5 s) and takes them all.
    std::vector<DeviceChange> wait_for(size_t count) {
        std::unique_lock lock(mutex_);
        notified_.wait_for(lock, seconds(5), [&] {
            for (DeviceChange& change : watcher_.take_changes()) {
                taken_.push_back(std::move(change));
            }
            return taken_.size() >= count;
        });
        return std::exchange(taken_, {});
    }

    // Keep only what the virtual folder says; the kernel may announce real devices meanwhile.
    static std::vector<DeviceChange> of_mouse(std::vector<DeviceChange> changes,
                                              const std::string& mouse) {
        std::erase_if(changes, [&](const DeviceChange& change) {
            return change.path.find("/" + mouse + ".if") == std::string::npos;
        });
        return changes;
    }

    std::vector<DeviceChange> wait_for_mouse(size_t count, const std::string& mouse = "talvoro") {
        std::vector<DeviceChange> found;
        const auto deadline = std::chrono::steady_clock::now() + seconds(5);
        while (found.size() < count && std::chrono::steady_clock::now() < deadline) {
            for (DeviceChange& change : of_mouse(wait_for(count - found.size()), mouse)) {
                found.push_back(std::move(change));
            }
        }
        return found;
    }

    TempFolder folder_;
    ScopedEnv env_;
    std::mutex mutex_;
    std::condition_variable notified_;
    std::vector<DeviceChange> taken_;
    int notifications_ = 0;
    DeviceWatcher watcher_{[this] {
        std::lock_guard lock(mutex_);
        ++notifications_;
        notified_.notify_all();
    }};
};

TEST_F(DeviceWatcherTest, AVirtualMouseArrivesAndLeavesWithBothInterfaces) {
    ASSERT_TRUE(watcher_.start());
    VirtualMouseProcess mouse(folder_.path());

    const auto arrivals = wait_for_mouse(2);
    ASSERT_EQ(arrivals.size(), 2u);
    std::vector<std::string> names;
    for (const DeviceChange& change : arrivals) {
        EXPECT_EQ(change.kind, ChangeKind::kArrived);
        EXPECT_EQ(change.origin, InterfaceOrigin::kVirtual);
        EXPECT_EQ(change.vendor, 0x1209);
        EXPECT_EQ(change.product, 0x0001);
        names.push_back(change.path);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{folder_.file("talvoro.if0.hid"),
                                               folder_.file("talvoro.if1.hid")}));
    {
        std::lock_guard lock(mutex_);
        EXPECT_GE(notifications_, 1);
    }

    mouse.unplug();
    auto removals = wait_for_mouse(2);
    ASSERT_EQ(removals.size(), 2u);
    std::vector<std::string> removed;
    for (const DeviceChange& change : removals) {
        EXPECT_EQ(change.kind, ChangeKind::kRemoved);
        EXPECT_EQ(change.vendor, 0x1209);
        removed.push_back(change.path);
    }
    std::sort(removed.begin(), removed.end());
    EXPECT_EQ(removed, names);

    mouse.plug_in();
    EXPECT_EQ(wait_for_mouse(2).size(), 2u);
    EXPECT_EQ(mouse.stop(), 0);
    removals = wait_for_mouse(2);
    ASSERT_EQ(removals.size(), 2u);
    EXPECT_EQ(removals[0].kind, ChangeKind::kRemoved);
    EXPECT_EQ(removals[1].kind, ChangeKind::kRemoved);
}

TEST_F(DeviceWatcherTest, TheIdsComeFromTheMouseItself) {
    ASSERT_TRUE(watcher_.start());
    VirtualMouseProcess other(folder_.path(),
                              {"--vendor-id=0x046d", "--product-id=0xc077", "--interfaces=pointer"},
                              "other");
    const auto arrivals = wait_for_mouse(1, "other");
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].path, folder_.file("other.if0.hid"));
    EXPECT_EQ(arrivals[0].vendor, 0x046D);
    EXPECT_EQ(arrivals[0].product, 0xC077);
}

TEST_F(DeviceWatcherTest, ForeignFilesInTheFolderAreIgnored) {
    ASSERT_TRUE(watcher_.start());
    std::ofstream(folder_.file("notes.txt")) << "not a mouse";
    std::ofstream(folder_.file("fake.if0.hid")) << "a file that only looks like an interface";
    std::filesystem::create_directory(std::filesystem::u8path(folder_.file("stray.if1.hid")));
    std::filesystem::remove(std::filesystem::u8path(folder_.file("notes.txt")));
    // Events are read in order: once the mouse is seen, the files before it were passed over.
    VirtualMouseProcess mouse(folder_.path());
    const auto changes = wait_for(2);
    ASSERT_GE(changes.size(), 2u);
    for (const DeviceChange& change : changes) {
        EXPECT_EQ(change.path.find("fake"), std::string::npos);
        EXPECT_EQ(change.path.find("stray"), std::string::npos);
    }
    std::filesystem::remove(std::filesystem::u8path(folder_.file("fake.if0.hid")));
    mouse.unplug();
    const auto removals = wait_for_mouse(2);
    ASSERT_EQ(removals.size(), 2u);
    for (const DeviceChange& change : removals) {
        EXPECT_EQ(change.kind, ChangeKind::kRemoved);
    }
}

TEST_F(DeviceWatcherTest, AMousePresentBeforeTheStartIsNamedWhenItLeaves) {
    VirtualMouseProcess mouse(folder_.path());
    ASSERT_TRUE(watcher_.start());
    mouse.unplug();
    const auto removals = wait_for_mouse(2);
    ASSERT_EQ(removals.size(), 2u);
    for (const DeviceChange& change : removals) {
        // No arrival came first: it was there already.
        EXPECT_EQ(change.kind, ChangeKind::kRemoved);
        EXPECT_EQ(change.vendor, 0x1209);
        EXPECT_EQ(change.product, 0x0001);
    }
}

TEST_F(DeviceWatcherTest, TheFolderIsMadeWhenMissing) {
    const std::string missing = folder_.file("later");
    ScopedEnv env("TALVORO_HID_DIR", missing);
    DeviceWatcher watcher([] {});
    ASSERT_TRUE(watcher.start());
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::u8path(missing)));
}

TEST_F(DeviceWatcherTest, StopAndStartAgain) {
    ASSERT_TRUE(watcher_.start());
    watcher_.stop();
    ASSERT_TRUE(watcher_.start());
    VirtualMouseProcess mouse(folder_.path());
    EXPECT_EQ(wait_for_mouse(2).size(), 2u);
}

TEST(VirtualInterfaceName, OnlyInterfaceSocketNamesAreTaken) {
    const auto name = parse_virtual_interface_name("talvoro.if1.hid");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->mouse, "talvoro");
    EXPECT_EQ(name->interface_number, 1u);
    const auto dotted = parse_virtual_interface_name("my.mouse.if12.hid");
    ASSERT_TRUE(dotted);
    EXPECT_EQ(dotted->mouse, "my.mouse");
    EXPECT_EQ(dotted->interface_number, 12u);
    for (const char* foreign :
         {"talvoro.hid", ".if0.hid", "talvoro.if.hid", "talvoro.ifx.hid", "talvoro.if0.hid.new",
          "talvoro.if1234.hid", "talvoro.if-1.hid", "talvoro.if0.HID", "notes.txt", ""}) {
        EXPECT_FALSE(parse_virtual_interface_name(foreign)) << foreign;
    }
}

TEST(VirtualInterfaceName, NobodyListeningGivesNoIdentity) {
    TempFolder folder;
    std::ofstream(folder.file("plain.if0.hid")) << "x";
    EXPECT_FALSE(
        query_virtual_identity(folder.file("plain.if0.hid"), std::chrono::milliseconds(100)));
    EXPECT_FALSE(
        query_virtual_identity(folder.file("missing.if0.hid"), std::chrono::milliseconds(100)));
}

}  // namespace
}  // namespace talvoro::platform
