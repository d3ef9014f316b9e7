#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace tallivo {

// Returns the median time in seconds of passes runs of work.
inline double MedianSeconds(int passes, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < passes; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace tallivo
