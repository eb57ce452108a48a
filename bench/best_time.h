#pragma once
// The best wall time of three runs of a piece of work, in seconds.

#include <algorithm>
#include <chrono>
#include <functional>

namespace tessaly::bench {

inline double BestOf3(const std::function<void()>& run) {
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

}  // namespace tessaly::bench
