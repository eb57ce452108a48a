#include "symbology/chart_values.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

ValueRange RangeOfValues(const std::vector<double>& values) {
    ValueRange range;
    for (const double v : values) {
        if (std::isnan(v)) continue;
        if (range.count == 0 || v < range.minimum) range.minimum = v;
        if (range.count == 0 || v > range.maximum) range.maximum = v;
        ++range.count;
    }
    return range;
}

std::string EmptyValuesText(long long leftOut) {
    if (leftOut <= 0) return {};
    return std::to_string(leftOut) + (leftOut == 1 ? " empty value left out" : " empty values left out");
}

int TruncPixel(double offset) {
    constexpr double kBound = 1'000'000;
    if (std::isnan(offset)) return 0;
    return static_cast<int>(std::trunc(std::clamp(offset, -kBound, kBound)));
}

}  // namespace tessaly
