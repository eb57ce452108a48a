#include "engine/polygon_rings.h"

#include "input/shapefile_parts.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaly {

namespace {

struct Box {
    double xmin = std::numeric_limits<double>::infinity();
    double ymin = std::numeric_limits<double>::infinity();
    double xmax = -std::numeric_limits<double>::infinity();
    double ymax = -std::numeric_limits<double>::infinity();

    bool Contains(const Box& b) const {
        return xmin <= b.xmin && ymin <= b.ymin && xmax >= b.xmax && ymax >= b.ymax;
    }
};

Box BoxOf(std::span<const TCXY> ring) {
    Box b;
    for (const TCXY& p : ring) {
        b.xmin = std::min(b.xmin, p.X);
        b.ymin = std::min(b.ymin, p.Y);
        b.xmax = std::max(b.xmax, p.X);
        b.ymax = std::max(b.ymax, p.Y);
    }
    return b;
}

// The hole lies in the outer ring when its first vertex that is not on the outer
// ring's boundary lies inside (rings that merely touch share boundary points).
// Each vertex tried costs one step per vertex of the outer ring.
bool LiesIn(std::span<const TCXY> hole, std::span<const TCXY> outer, long long& steps, long long maxSteps) {
    for (const TCXY& p : hole) {
        steps += static_cast<long long>(outer.size());
        if (steps > maxSteps) return false;
        const PointPlace place = PlaceOf(p, outer);
        if (place != PointPlace::OnBoundary) return place == PointPlace::Inside;
    }
    return false;
}

}  // namespace

void RecordRings(const TFileSHP& reader, std::vector<RingSpan>& rings) {
    rings.clear();
    for (std::int32_t part = 1; part <= reader.Parts.Count(); ++part) {
        const PartRange r = PartOf(reader, part);
        rings.push_back({r.begin, r.end});
    }
}

double TwiceSignedArea(std::span<const TCXY> ring) {
    if (ring.size() < 3) return 0;
    // Relative to the first point, so that large coordinates lose no precision.
    const TCXY o = ring.front();
    double sum = 0;
    for (std::size_t k = 1; k + 1 < ring.size(); ++k) {
        const double ax = ring[k].X - o.X, ay = ring[k].Y - o.Y;
        const double bx = ring[k + 1].X - o.X, by = ring[k + 1].Y - o.Y;
        sum += ax * by - bx * ay;
    }
    return sum;
}

PointPlace PlaceOf(const TCXY& p, std::span<const TCXY> ring) {
    bool inside = false;
    const std::size_t n = ring.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const TCXY& a = ring[j];
        const TCXY& b = ring[i];
        // On the segment a-b: collinear and within its box.
        const double cross = (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
        if (cross == 0 && p.X >= std::min(a.X, b.X) && p.X <= std::max(a.X, b.X) &&
            p.Y >= std::min(a.Y, b.Y) && p.Y <= std::max(a.Y, b.Y))
            return PointPlace::OnBoundary;
        if ((a.Y > p.Y) != (b.Y > p.Y)) {
            const double x = a.X + (p.Y - a.Y) * (b.X - a.X) / (b.Y - a.Y);
            if (p.X < x) inside = !inside;
        }
    }
    return inside ? PointPlace::Inside : PointPlace::Outside;
}

bool OrganizeRings(std::span<const TCXY> points, const std::vector<RingSpan>& rings,
                   std::vector<PolygonRings>& polygons, long long maxSteps) {
    auto ringAt = [&](std::size_t i) {
        const RingSpan r = rings[i];
        return points.subspan(static_cast<std::size_t>(r.begin), static_cast<std::size_t>(r.end - r.begin));
    };
    polygons.clear();
    if (rings.size() == 1) {
        polygons.push_back({0, {}});
        return true;
    }

    std::vector<double> area(rings.size());
    std::vector<Box> box(rings.size());
    for (std::size_t i = 0; i < rings.size(); ++i) {
        area[i] = TwiceSignedArea(ringAt(i));
        box[i] = BoxOf(ringAt(i));
    }
    // A ring that encloses nothing has no direction; it cannot be a hole.
    auto isHole = [&](std::size_t i) { return area[i] > 0; };

    // The outer ring each hole belongs to; a hole that no outer ring holds is an outer ring itself.
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> owner(rings.size(), kNone);
    long long steps = 0;
    for (std::size_t h = 0; h < rings.size(); ++h) {
        if (!isHole(h)) continue;
        double smallest = std::numeric_limits<double>::infinity();
        for (std::size_t o = 0; o < rings.size(); ++o) {
            if (++steps > maxSteps) return false;
            if (isHole(o) || !box[o].Contains(box[h])) continue;
            const double size = std::fabs(area[o]);
            const bool inside = size < smallest && LiesIn(ringAt(h), ringAt(o), steps, maxSteps);
            if (steps > maxSteps) return false;
            if (inside) {
                smallest = size;
                owner[h] = o;
            }
        }
    }

    std::vector<std::size_t> polygonOf(rings.size(), kNone);
    for (std::size_t i = 0; i < rings.size(); ++i) {
        if (owner[i] != kNone) continue;
        polygonOf[i] = polygons.size();
        polygons.push_back({i, {}});
    }
    for (std::size_t h = 0; h < rings.size(); ++h)
        if (owner[h] != kNone) polygons[polygonOf[owner[h]]].holes.push_back(h);
    return true;
}

}  // namespace tessaly
