// Label points of polygons whose box centre lies inside, outside, in a hole or on
// an edge, against the point farthest from the edges worked out by hand.

#include "engine/label_point.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tessaly {
namespace {

using Ring = std::vector<TCXY>;

double Clearance(const TCXY& p, const std::vector<Ring>& rings) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const Ring& ring : rings)
        for (std::size_t i = 1; i < ring.size(); ++i) {
            const TCXY a = ring[i - 1], b = ring[i];
            const double dx = b.X - a.X, dy = b.Y - a.Y;
            const double t = std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
            nearest = std::min(nearest, std::hypot(p.X - a.X - t * dx, p.Y - a.Y - t * dy));
        }
    return nearest;
}

TEST(LabelPoint, BoxCentreWhenInsideElseThePointFarthestFromTheEdges) {
    struct Case {
        const char* what;
        Ring outer;
        std::vector<Ring> holes;
        double clearance;  // of the best point, worked out by hand
        bool boxCentre;    // the box centre itself is the answer
    };
    // Points of the corner junctions: t = r / (1 + 1/sqrt 2) from the walls.
    const double u = 3 * std::sqrt(2.0) / (1 + std::sqrt(2.0));
    const double ring = 4 * std::sqrt(2.0) / (1 + std::sqrt(2.0));
    const Case cases[] = {
        {"a rectangle", {{0, 0}, {0, 4}, {10, 4}, {10, 0}, {0, 0}}, {}, 2, true},
        {"a U whose notch holds the box centre",
         {{0, 0}, {0, 10}, {3, 10}, {3, 3}, {7, 3}, {7, 10}, {10, 10}, {10, 0}, {0, 0}}, {}, u, false},
        {"a square whose hole holds the box centre", {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}},
         {{{4, 4}, {6, 4}, {6, 6}, {4, 6}, {4, 4}}}, ring, false},
        {"a triangle with the box centre on its long side", {{0, 0}, {0, 10}, {10, 0}, {0, 0}}, {},
         10 / (2 + std::sqrt(2.0)), false},
        {"a thin diagonal band", {{0, 0}, {100, 99}, {100, 100}, {99, 100}, {0, 1}, {0, 0}}, {},
         1 / std::sqrt(2.0) / 2, true},
        {"a hook, long and thin", {{0, 0}, {0, 1}, {99, 1}, {99, 20}, {100, 20}, {100, 0}, {0, 0}}, {}, 0.5, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::span<const TCXY>> holes(c.holes.begin(), c.holes.end());
        const TCXY p = LabelPoint(c.outer, holes);
        std::vector<Ring> rings = c.holes;
        rings.push_back(c.outer);
        ASSERT_EQ(PlaceOf(p, c.outer), PointPlace::Inside) << p.X << " " << p.Y;
        for (const Ring& h : c.holes) ASSERT_EQ(PlaceOf(p, h), PointPlace::Outside) << p.X << " " << p.Y;
        double xmin = c.outer[0].X, xmax = xmin, ymin = c.outer[0].Y, ymax = ymin;
        for (const TCXY& q : c.outer) {
            xmin = std::min(xmin, q.X), xmax = std::max(xmax, q.X);
            ymin = std::min(ymin, q.Y), ymax = std::max(ymax, q.Y);
        }
        if (c.boxCentre) {
            EXPECT_EQ(p.X, (xmin + xmax) / 2);
            EXPECT_EQ(p.Y, (ymin + ymax) / 2);
        } else {
            // Within 1 % of the box's smaller side of the best.
            EXPECT_GE(Clearance(p, rings), c.clearance - std::min(xmax - xmin, ymax - ymin) / 100)
                << p.X << " " << p.Y;
        }
    }
}

TEST(LabelPoint, RingsThatEncloseNothingGiveTheirBoxCentre) {
    const Ring line = {{0, 0}, {2, 2}, {4, 4}, {0, 0}};
    const TCXY p = LabelPoint(line, {});
    EXPECT_EQ(p.X, 2);
    EXPECT_EQ(p.Y, 2);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Ring broken = {{0, 0}, {nan, 10}, {10, 10}, {10, 0}, {0, 0}};
    // A coordinate that is not a number ends the search too, at a point that is one.
    const TCXY q = LabelPoint(broken, {});
    EXPECT_TRUE(std::isfinite(q.X) && std::isfinite(q.Y));
}

}  // namespace
}  // namespace tessaly
