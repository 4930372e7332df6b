// What every benchmark measures with: the steady clock, milliseconds since a point, and the
// median of a run (an empty run gives 0).
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace talvoro::bench {

using Clock = std::chrono::steady_clock;

inline double elapsed_ms(Clock::time_point since) {
    return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

inline double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace talvoro::bench
