// Rings sorted into outer boundaries and holes by their direction and containment.

#include "engine/polygon_rings.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// A closed square ring from (x, y) with side s, clockwise (an outer boundary) or not.
std::vector<TCXY> Square(double x, double y, double s, bool clockwise) {
    if (clockwise) return {{x, y}, {x, y + s}, {x + s, y + s}, {x + s, y}, {x, y}};
    return {{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}, {x, y}};
}

struct Layout {
    const char* what;
    std::vector<std::vector<TCXY>> rings;
    std::vector<PolygonRings> expected;
};

TEST(PolygonRings, OuterRingsTakeTheHolesTheyContain) {
    const Layout layouts[] = {
        {"one ring is one polygon whichever way it runs", {Square(0, 0, 10, false)}, {{0, {}}}},
        {"a counter-clockwise ring inside a clockwise one is its hole",
         {Square(0, 0, 10, true), Square(2, 2, 2, false)}, {{0, {1}}}},
        {"a hole given before its outer ring still belongs to it",
         {Square(2, 2, 2, false), Square(0, 0, 10, true)}, {{1, {0}}}},
        {"a hole goes to the smallest outer ring around it",
         {Square(0, 0, 100, true), Square(10, 10, 20, true), Square(12, 12, 2, false), Square(50, 50, 5, false)},
         {{0, {3}}, {1, {2}}}},
        {"a counter-clockwise ring that no outer ring holds is an outer ring itself",
         {Square(0, 0, 10, true), Square(20, 20, 2, false)}, {{0, {}}, {1, {}}}},
        {"a hole that touches its outer ring from inside is still its hole",
         {Square(0, 0, 10, true), Square(0, 0, 5, false)}, {{0, {1}}}},
        {"holes are never outer rings for other holes",
         {Square(0, 0, 10, false), Square(2, 2, 2, false)}, {{0, {}}, {1, {}}}},
        {"an empty ring stays an outer ring of its own", {Square(0, 0, 10, true), {}}, {{0, {}}, {1, {}}}},
    };
    for (const Layout& l : layouts) {
        std::vector<TCXY> points;
        std::vector<RingSpan> spans;
        for (const auto& r : l.rings) {
            spans.push_back({static_cast<std::int32_t>(points.size()), static_cast<std::int32_t>(points.size() + r.size())});
            points.insert(points.end(), r.begin(), r.end());
        }
        std::vector<PolygonRings> polygons = {{7, {7}}};  // left from an earlier record
        ASSERT_TRUE(OrganizeRings(points, spans, polygons));
        ASSERT_EQ(polygons.size(), l.expected.size()) << l.what;
        for (std::size_t i = 0; i < polygons.size(); ++i) {
            EXPECT_EQ(polygons[i].outer, l.expected[i].outer) << l.what;
            EXPECT_EQ(polygons[i].holes, l.expected[i].holes) << l.what;
        }
    }
}

TEST(PolygonRings, RecordsThatWouldTakeTooLongAreRefused) {
    // 200 outer rings around the same spot and 200 holes in them: each hole tries every outer ring.
    std::vector<TCXY> points;
    std::vector<RingSpan> spans;
    for (int i = 0; i < 400; ++i) {
        const double side = 400 - i;  // each outer ring smaller than the one before
        const auto r = i % 2 == 0 ? Square(-side, -side, 2 * side + 1, true) : Square(0.1, 0.1, 0.1, false);
        spans.push_back({static_cast<std::int32_t>(points.size()), static_cast<std::int32_t>(points.size() + r.size())});
        points.insert(points.end(), r.begin(), r.end());
    }
    std::vector<PolygonRings> polygons;
    EXPECT_FALSE(OrganizeRings(points, spans, polygons, 100'000));
    ASSERT_TRUE(OrganizeRings(points, spans, polygons));
    ASSERT_EQ(polygons.size(), 200u);
    EXPECT_EQ(polygons.back().holes.size(), 200u);  // the smallest outer ring takes them all
}

TEST(PolygonRings, DirectionAndPlaceOfAPoint) {
    EXPECT_LT(TwiceSignedArea(Square(0, 0, 10, true)), 0);
    EXPECT_EQ(TwiceSignedArea(Square(0, 0, 10, false)), 200);
    // Far from the origin, the area keeps its precision.
    EXPECT_EQ(TwiceSignedArea(Square(500000, 4000000, 1, false)), 2);
    const auto ring = Square(0, 0, 10, true);
    EXPECT_EQ(PlaceOf({5, 5}, ring), PointPlace::Inside);
    EXPECT_EQ(PlaceOf({15, 5}, ring), PointPlace::Outside);
    EXPECT_EQ(PlaceOf({10, 5}, ring), PointPlace::OnBoundary);
    EXPECT_EQ(PlaceOf({0, 0}, ring), PointPlace::OnBoundary);
}

}  // namespace
}  // namespace tessaly
