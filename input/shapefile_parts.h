#pragma once
// Where each part of the current record lies in its point list.

#include "input/shapefile_reader.h"

#include <algorithm>
#include <cstdint>

namespace tessaly {

struct PartRange {
    std::int32_t begin = 0;  // 0-based, into Points
    std::int32_t end = 0;    // one past the last point; end <= begin for an empty part
};

// Part i (1-based) of the reader's current record, clamped to its points.
inline PartRange PartOf(const TFileSHP& reader, std::int32_t i) {
    if (i < 1 || i > reader.Parts.Count()) return {};
    const std::int32_t count = reader.Points.Count();
    const std::int32_t begin = std::clamp(reader.Parts.Item(i).Value, 0, count);
    const std::int32_t end =
        std::min(i < reader.Parts.Count() ? reader.Parts.Item(i + 1).Value : count, count);
    return {begin, std::max(begin, end)};
}

}  // namespace tessaly
