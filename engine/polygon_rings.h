#pragma once
// The rings of one polygon record sorted into polygons, as the shapefile format
// defines them: a clockwise ring is an outer boundary, a counter-clockwise ring is
// a hole of the smallest outer ring that contains it, and a counter-clockwise ring
// that no outer ring contains is an outer boundary of its own.

#include "input/coordinate_lists.h"
#include "input/shapefile_reader.h"

#include <cstdint>
#include <span>
#include <vector>

namespace tessaly {

// Points [begin, end) of a record's point list.
struct RingSpan {
    std::int32_t begin = 0;
    std::int32_t end = 0;
};

struct PolygonRings {
    std::size_t outer = 0;            // index into the record's rings
    std::vector<std::size_t> holes;   // indexes into the record's rings, in file order
};

// The rings of the reader's current record, one per part, replacing what rings held.
void RecordRings(const TFileSHP& reader, std::vector<RingSpan>& rings);

// Twice the signed area of a ring (closed or not): negative when its points run
// clockwise, positive counter-clockwise, 0 for a ring that encloses nothing.
double TwiceSignedArea(std::span<const TCXY> ring);

enum class PointPlace { Inside, Outside, OnBoundary };
// Where a point lies against a ring (taken as closed), by the even-odd rule.
PointPlace PlaceOf(const TCXY& point, std::span<const TCXY> ring);

// Sorts a record's rings into polygons, in the file order of their outer rings,
// replacing what polygons held (its room is reused from record to record). A record
// of one ring is that one polygon, whichever way it runs. Every ring appears exactly once.
// Matching holes to outer rings grows with holes x outer rings x their vertices; false
// when a record needs more than maxSteps (a crafted file must not hold the run for hours).
bool OrganizeRings(std::span<const TCXY> points, const std::vector<RingSpan>& rings,
                   std::vector<PolygonRings>& polygons, long long maxSteps = 2'000'000'000);

}  // namespace tessaly
