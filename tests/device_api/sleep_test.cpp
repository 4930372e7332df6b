// The protocol sleep: the real one never wakes early (the mouse would answer
// "not yet"), and a replacement takes every wait until the real one is back.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "precise_sleep.h"
#include "sleep.h"

namespace talvoro::test {
namespace {

using std::chrono::milliseconds;

std::vector<milliseconds>& seen() {
    static std::vector<milliseconds> waits;
    return waits;
}

void record(milliseconds duration) {
    seen().push_back(duration);
}

TEST(ProtocolSleep, TheRealWaitNeverEndsEarly) {
    for (const milliseconds duration : {milliseconds(1), milliseconds(10), milliseconds(23)}) {
        const auto start = std::chrono::steady_clock::now();
        protocol_sleep(duration);
        EXPECT_GE(std::chrono::steady_clock::now() - start, duration) << duration.count();
    }
    const auto start = std::chrono::steady_clock::now();
    precise_sleep(milliseconds(0));
    precise_sleep(milliseconds(-5));
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(500)) << "no wait at all";
}

TEST(ProtocolSleep, AReplacementTakesEveryWaitUntilTheRealOneIsBack) {
    seen().clear();
    const SleepFunction original = set_sleep_function(&record);
    EXPECT_EQ(original, &precise_sleep);
    protocol_sleep(milliseconds(1000));
    protocol_sleep(milliseconds(10));
    EXPECT_EQ(seen(), (std::vector<milliseconds>{milliseconds(1000), milliseconds(10)}));
    EXPECT_EQ(set_sleep_function(nullptr), &record);
    EXPECT_EQ(set_sleep_function(nullptr), &precise_sleep) << "null restores the real wait";
    EXPECT_EQ(seen().size(), 2u);
}

}  // namespace
}  // namespace talvoro::test
