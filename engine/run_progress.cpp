#include "engine/run_progress.h"

#include <algorithm>

namespace tessaly {

int PercentDone(long long done, long long total) {
    if (total <= 0) return 100;
    const long long clamped = std::clamp(done, 0LL, total);
    return static_cast<int>(clamped * 100 / total);
}

std::string StepWithPercent(const std::string& step, int percent) {
    return step + " " + std::to_string(percent) + "%";
}

}  // namespace tessaly
