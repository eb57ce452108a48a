#include "input/byte_ranges.h"

#include <algorithm>

namespace tessaly {

std::vector<GroupedRead> GroupReads(std::span<const ByteRange> sorted, std::size_t maxGap, std::size_t maxRead) {
    std::vector<GroupedRead> reads;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const ByteRange& r = sorted[i];
        const std::int64_t end = r.offset + static_cast<std::int64_t>(r.size);
        if (!reads.empty()) {
            GroupedRead& g = reads.back();
            const std::int64_t groupEnd = g.offset + static_cast<std::int64_t>(g.size);
            const std::int64_t newEnd = std::max(groupEnd, end);
            if (r.offset - groupEnd <= static_cast<std::int64_t>(maxGap) &&
                newEnd - g.offset <= static_cast<std::int64_t>(maxRead)) {
                g.last = i + 1;
                g.size = static_cast<std::size_t>(newEnd - g.offset);
                continue;
            }
        }
        reads.push_back({i, i + 1, r.offset, r.size});
    }
    return reads;
}

}  // namespace tessaly
