#include "engine/label_point.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

namespace tessaly {

namespace {

double SegmentDistanceSquared(const TCXY& p, const TCXY& a, const TCXY& b) {
    double x = a.X, y = a.Y;
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    if (dx != 0 || dy != 0) {
        const double t = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        x += t * dx;
        y += t * dy;
    }
    return (p.X - x) * (p.X - x) + (p.Y - y) * (p.Y - y);
}

// The polygon's rings, outer first, each taken as closed.
class Rings {
public:
    Rings(std::span<const TCXY> outer, std::span<const std::span<const TCXY>> holes) {
        rings_.push_back(outer);
        rings_.insert(rings_.end(), holes.begin(), holes.end());
    }

    // The distance from p to the nearest edge: positive inside the polygon (by the
    // even-odd rule over all rings), negative outside.
    double SignedDistance(const TCXY& p) const {
        bool inside = false;
        double nearest = std::numeric_limits<double>::infinity();
        for (const std::span<const TCXY> ring : rings_) {
            for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                const TCXY& a = ring[i];
                const TCXY& b = ring[j];
                if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X)
                    inside = !inside;
                nearest = std::min(nearest, SegmentDistanceSquared(p, a, b));
            }
        }
        return (inside ? 1 : -1) * std::sqrt(nearest);
    }

    std::size_t VertexCount() const {
        std::size_t n = 0;
        for (const std::span<const TCXY> ring : rings_) n += ring.size();
        return n;
    }

private:
    std::vector<std::span<const TCXY>> rings_;
};

// Every cell measures its distance to every edge: the searches of one polygon stop
// splitting after this many edge measurements, so that a crafted or huge ring costs
// a fraction of a second, keeping the best point found by then.
constexpr long long kMaxEdgeMeasurements = 2'000'000;

// A square of the search: its centre, half its side, the centre's signed distance
// and the most any point of the square can reach.
struct Cell {
    Cell(double x, double y, double halfSide, const Rings& rings)
        : centre{x, y}, half(halfSide), distance(rings.SignedDistance(centre)),
          reach(distance + halfSide * std::sqrt(2.0)) {}
    TCXY centre;
    double half;
    double distance;
    double reach;
    bool operator<(const Cell& other) const { return reach < other.reach; }
};

// The cell-subdivision search: squares that may still hold a point farther from
// the edges than the best found, by more than the precision, are split in four.
// The first squares are at most 64 along the box, however long and thin it is.
// Each cell made spends the rings' vertex count from `budget`.
Cell PoleOfInaccessibility(const Rings& rings, double xmin, double ymin, double xmax, double ymax,
                           double precision, long long& budget) {
    const auto perCell = static_cast<long long>(rings.VertexCount());
    const double side = std::max(std::min(xmax - xmin, ymax - ymin), std::max(xmax - xmin, ymax - ymin) / 64);
    std::priority_queue<Cell> queue;
    for (double x = xmin; x < xmax && budget > 0; x += side)
        for (double y = ymin; y < ymax && budget > 0; y += side, budget -= perCell)
            queue.emplace(x + side / 2, y + side / 2, side / 2, rings);
    Cell best((xmin + xmax) / 2, (ymin + ymax) / 2, 0, rings);
    while (!queue.empty()) {
        const Cell cell = queue.top();
        queue.pop();
        if (cell.distance > best.distance) best = cell;
        // Written so that a distance that is not a number splits nothing.
        if (!(cell.reach - best.distance > precision) || budget <= 0) continue;
        budget -= 4 * perCell;
        const double h = cell.half / 2;
        for (const double dx : {-h, h})
            for (const double dy : {-h, h}) queue.emplace(cell.centre.X + dx, cell.centre.Y + dy, h, rings);
    }
    return best;
}

bool InsidePolygon(const TCXY& p, std::span<const TCXY> outer, std::span<const std::span<const TCXY>> holes) {
    if (PlaceOf(p, outer) != PointPlace::Inside) return false;
    return std::all_of(holes.begin(), holes.end(),
                       [&](std::span<const TCXY> hole) { return PlaceOf(p, hole) == PointPlace::Outside; });
}

}  // namespace

TCXY LabelPoint(std::span<const TCXY> outer, std::span<const std::span<const TCXY>> holes) {
    double xmin = outer.front().X, xmax = xmin, ymin = outer.front().Y, ymax = ymin;
    for (const TCXY& p : outer) {
        xmin = std::min(xmin, p.X);
        xmax = std::max(xmax, p.X);
        ymin = std::min(ymin, p.Y);
        ymax = std::max(ymax, p.Y);
    }
    const TCXY centre{(xmin + xmax) / 2, (ymin + ymax) / 2};
    const double side = std::min(xmax - xmin, ymax - ymin);
    if (!std::isfinite(xmax - xmin) || !std::isfinite(ymax - ymin) || !(side > 0) ||
        TwiceSignedArea(outer) == 0 || InsidePolygon(centre, outer, holes))
        return centre;
    const Rings rings(outer, holes);
    // A polygon thinner than the precision can leave every tried point outside:
    // such a one is searched again, finer.
    double precision = side / 100;
    long long budget = kMaxEdgeMeasurements;
    Cell best = PoleOfInaccessibility(rings, xmin, ymin, xmax, ymax, precision, budget);
    for (int finer = 0; finer < 3 && best.distance <= 0 && budget > 0; ++finer) {
        precision /= 16;
        best = PoleOfInaccessibility(rings, xmin, ymin, xmax, ymax, precision, budget);
    }
    return best.distance > 0 ? best.centre : centre;
}

TCXY LabelPointOf(std::span<const TCXY> points, const std::vector<RingSpan>& rings, const PolygonRings& polygon) {
    auto ring = [&](std::size_t i) {
        return points.subspan(static_cast<std::size_t>(rings[i].begin),
                              static_cast<std::size_t>(rings[i].end - rings[i].begin));
    };
    std::vector<std::span<const TCXY>> holes;
    for (const std::size_t h : polygon.holes)
        if (rings[h].end > rings[h].begin) holes.push_back(ring(h));
    return LabelPoint(ring(polygon.outer), holes);
}

std::size_t LongestOutline(std::span<const TCXY> points, const std::vector<RingSpan>& rings,
                           const std::vector<PolygonRings>& polygons) {
    std::size_t best = 0;
    double bestLength = -1;
    for (std::size_t i = 0; i < polygons.size(); ++i) {
        const RingSpan r = rings[polygons[i].outer];
        double length = 0;
        for (std::int32_t k = r.begin + 1; k < r.end; ++k) {
            const TCXY& a = points[static_cast<std::size_t>(k - 1)];
            const TCXY& b = points[static_cast<std::size_t>(k)];
            const double d = (b.X - a.X) * (b.X - a.X) + (b.Y - a.Y) * (b.Y - a.Y);
            if (d > 0) length += std::sqrt(d);
        }
        if (length > bestLength) {
            best = i;
            bestLength = length;
        }
    }
    return best;
}

}  // namespace tessaly
