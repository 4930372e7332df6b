// The single-instance rule on Windows, within one process as between two: the named mutex, and
// message 1127 to the hidden window a running instance listens with.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "platform/single_instance.h"

namespace talvoro::platform {
namespace {

using Role = SingleInstance::Role;

TEST(SingleInstanceWindows, ALaterStartSignalsTheListeningInstance) {
    // A name of this test's own, so a running program is not disturbed.
    const std::string name = "talvoro_test_" + std::to_string(GetCurrentProcessId());
    SingleInstance first(name);
    ASSERT_EQ(first.acquire(), Role::kFirst);
    EXPECT_EQ(first.acquire(), Role::kFirst) << "asking again keeps the lock";

    // Running, but its window is not there yet: the caller tells the person.
    SingleInstance early(name);
    EXPECT_EQ(early.acquire(), Role::kFirstHasNoWindow);

    std::atomic<int> heard{0};
    std::atomic<uint32_t> message{0};
    ASSERT_TRUE(first.listen([&](uint32_t m) {
        message = m;
        ++heard;
    }));
    EXPECT_FALSE(first.listen([](uint32_t) {})) << "one listener";
    EXPECT_FALSE(early.listen([](uint32_t) {})) << "only the holder listens";

    SingleInstance later(name);
    EXPECT_EQ(later.acquire(), Role::kSignalledFirst);
    EXPECT_EQ(heard.load(), 1);
    EXPECT_EQ(message.load(), kSecondInstanceMessage);
    EXPECT_NE(FindWindowExW(nullptr, nullptr, L"MSUIMainFrame", nullptr), nullptr);
}

}  // namespace
}  // namespace talvoro::platform
