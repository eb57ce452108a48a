#pragma once
// Where a polygon's label point (the document's "centroid") goes: inside the
// polygon, so that the label stands on what it names. The document writer and
// the preview place it alike.

#include "engine/polygon_rings.h"
#include "input/coordinate_lists.h"

#include <span>
#include <vector>

namespace tessaly {

// The centre of the outer ring's box when that lies inside the ring and outside
// every hole; otherwise the point inside the ring and outside its holes farthest
// from their edges (the pole of inaccessibility), found to within 1 % of the box's
// smaller side, or the best found within a bounded number of steps for rings that
// would take longer. A ring that encloses nothing gives its box's centre. The outer
// ring must have a point.
TCXY LabelPoint(std::span<const TCXY> outer, std::span<const std::span<const TCXY>> holes);

// The label point of one polygon of a record (points and rings as OrganizeRings takes them).
TCXY LabelPointOf(std::span<const TCXY> points, const std::vector<RingSpan>& rings, const PolygonRings& polygon);

// The polygon that carries a record's one label point: the one whose outer ring
// has the longest outline (without a closing segment); of equal lengths the first.
std::size_t LongestOutline(std::span<const TCXY> points, const std::vector<RingSpan>& rings,
                           const std::vector<PolygonRings>& polygons);

}  // namespace tessaly
