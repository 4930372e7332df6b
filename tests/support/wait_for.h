// Waiting for another process to show something (a file, a state in the UI dump), checking every
// 20 ms up to a deadline.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace talvoro::test {

// True as soon as `done` is; false when `seconds` passed without it.
inline bool wait_for(const std::function<bool()>& done, int seconds) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace talvoro::test
