// Placemarks of hand-made records: names, geometry by shape type, centroids,
// heights and coordinates that do not convert.

#include "engine/placemark_writer.h"

#include "input/datum_catalogue.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tessaly {
namespace {

using Pt = test::ShpBuilder::Point;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

// The content of a multi-part (parts given) or multi-point record, with a Z or
// M block when values are given.
std::vector<unsigned char> Record(std::int32_t type, const std::vector<std::int32_t>* parts,
                                  const std::vector<Pt>& points, const std::vector<double>& measures) {
    std::vector<unsigned char> c;
    test::PutInt32LE(c, type);
    for (int i = 0; i < 4; ++i) test::PutDouble(c, 0);
    if (parts) test::PutInt32LE(c, static_cast<std::int32_t>(parts->size()));
    test::PutInt32LE(c, static_cast<std::int32_t>(points.size()));
    if (parts)
        for (std::int32_t p : *parts) test::PutInt32LE(c, p);
    for (const Pt& p : points) {
        test::PutDouble(c, p.x);
        test::PutDouble(c, p.y);
    }
    if (!measures.empty()) {
        test::PutDouble(c, 0);
        test::PutDouble(c, 0);
        for (double v : measures) test::PutDouble(c, v);
    }
    return c;
}

const std::vector<Pt> kSquare = {{0, 0}, {10, 0}, {10, 4}, {0, 4}, {0, 0}};

class Placemarks : public ::testing::Test {
protected:
    void SetUp() override {
        kml.AltitudeMode = "clampToGround";
        kml.Tessellate = '1';
        kml.HeightText = "0";
        kml.StyleUrlElement = "<styleUrl>#tessaly</styleUrl>";
        state.CoordinateDecimals = 10;
        datum.SourceDatum = kWgs1984Datum;
    }
    // The placemark of the file's first record as feature n.
    std::string Write(const test::ShpBuilder& shp, FeatureResult expected = FeatureResult::Written, int n = 1) {
        test::WriteBytes(dir / "f.shp", shp.Bytes());
        TFileSHP reader((dir / "f.shp").string());
        EXPECT_TRUE(reader.Open() && reader.ReadHeader());
        reader.ReadRecord();
        datum.Prepare();
        PlacemarkWriter writer(kml, state, balloon, datum, reader);
        std::string out = "kept";
        EXPECT_EQ(writer.WriteFeature(n, row, out), expected);
        EXPECT_EQ(out.substr(0, 4), "kept");
        return out.substr(4);
    }
    std::string Polygon(const std::vector<std::int32_t>& parts, const std::vector<Pt>& points) {
        test::ShpBuilder shp(5);
        shp.AddPolygon(parts, points);
        return Write(shp);
    }
    std::string Raw(std::int32_t type, const std::vector<unsigned char>& content,
                    FeatureResult expected = FeatureResult::Written) {
        test::ShpBuilder shp(type);
        shp.AddRaw(content);
        return Write(shp, expected);
    }
    const test::TempDir dir;
    TKml kml;
    TEngineState state;
    TBalloon balloon;
    TDatumTool datum;
    FeatureRow row;
};

TEST_F(Placemarks, PointOfRowSevenIsOneExactLine) {
    test::ShpBuilder shp(1);
    shp.AddPoint(12.5, -3.25);
    EXPECT_EQ(Write(shp, FeatureResult::Written, 7),
              "<Placemark><name>7</name><Snippet></Snippet><styleUrl>#tessaly</styleUrl><Point><extrude>0"
              "</extrude><altitudeMode>clampToGround</altitudeMode><coordinates>12.5000000000,-3.2500000000,0 "
              "</coordinates></Point></Placemark>");
}

TEST_F(Placemarks, LabelNamesAreEscapedAndTheBalloonPrecedesTheStyle) {
    state.LabelField = "NAME";
    row.label = "A&B <x>";
    balloon.AddField("NAME");
    row.balloonValues = {"Lima"};
    test::ShpBuilder shp(1);
    shp.AddPoint(1, 2);
    const std::string p = Write(shp);
    EXPECT_EQ(p.rfind("<Placemark><name>A&amp;B &lt;x&gt;</name><Snippet></Snippet><description><![CDATA[", 0), 0u)
        << p;
    EXPECT_LT(p.find("Lima"), p.find("<styleUrl>"));
}

TEST_F(Placemarks, PointTypesGiveOnePointPerCoordinate) {
    test::ShpBuilder multi(8);
    multi.AddMultiPoint({{1, 1}, {2, 2}, {3, 3}});
    const std::string m = Write(multi);
    EXPECT_EQ(Count(m, "<Point>"), 3);
    EXPECT_NE(m.find("</styleUrl><MultiGeometry><Point><extrude>"), std::string::npos);
    EXPECT_NE(m.find("3.0000000000,3.0000000000,0 </coordinates></Point></MultiGeometry></Placemark>"),
              std::string::npos);
    EXPECT_EQ(Count(m, "tessellate"), 0);
    test::ShpBuilder one(8);
    one.AddMultiPoint({{1, 1}});
    EXPECT_EQ(Count(Write(one), "MultiGeometry"), 0);

    // The Z and M variants are points too, without a height of their own when 3D is off.
    std::vector<unsigned char> pointM;
    test::PutInt32LE(pointM, 21);
    for (double v : {4.0, 5.0, 99.0}) test::PutDouble(pointM, v);
    EXPECT_NE(Raw(21, pointM).find("<coordinates>4.0000000000,5.0000000000,0 </coordinates>"), std::string::npos);
    EXPECT_EQ(Count(Raw(18, Record(18, nullptr, {{1, 1}, {2, 2}}, {7, 8})), "<Point>"), 2);
    EXPECT_EQ(Count(Raw(28, Record(28, nullptr, {{1, 1}, {2, 2}}, {7, 8})), "<Point>"), 2);
}

TEST_F(Placemarks, NullAndMultiPatchRecordsWriteNothing) {
    test::ShpBuilder null(1);
    null.AddNull();
    EXPECT_EQ(Write(null, FeatureResult::NotAGeometry), "");
    const std::vector<std::int32_t> parts = {0, 0};  // start and part type
    EXPECT_EQ(Raw(31, Record(31, &parts, {{0, 0}, {1, 1}, {1, 0}}, {0, 0, 0}), FeatureResult::NotAGeometry), "");
}

TEST_F(Placemarks, PolyLinePartsBecomeLineStrings) {
    test::ShpBuilder two(3);
    two.AddPolygon({0, 2}, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 3);
    const std::string t = Write(two);
    EXPECT_EQ(Count(t, "<LineString>"), 2);
    EXPECT_NE(t.find("</styleUrl><MultiGeometry><LineString>"), std::string::npos);
    EXPECT_NE(t.find("</LineString></MultiGeometry></Placemark>"), std::string::npos);
    test::ShpBuilder one(3);
    one.AddPolygon({0}, {{0, 0}, {-99.5, 1}}, 3);
    const std::string o = Write(one);
    EXPECT_EQ(o.substr(o.find("</styleUrl>")),
              "</styleUrl><LineString><extrude>0</extrude><tessellate>1</tessellate><altitudeMode>clampToGround"
              "</altitudeMode><coordinates>0.0000000000,0.0000000000,0 -99.5000000000,1.0000000000,0 "
              "</coordinates></LineString></Placemark>");
}

TEST_F(Placemarks, PolygonRingsAreOuterBoundariesAndHolesWithOptionalCentroid) {
    const std::string plain = Polygon({0}, kSquare);
    EXPECT_EQ(plain.substr(plain.find("</styleUrl>")),
              "</styleUrl><Polygon><extrude>0</extrude><tessellate>1</tessellate><altitudeMode>clampToGround"
              "</altitudeMode><outerBoundaryIs><LinearRing><coordinates>0.0000000000,0.0000000000,0 "
              "10.0000000000,0.0000000000,0 10.0000000000,4.0000000000,0 0.0000000000,4.0000000000,0 "
              "0.0000000000,0.0000000000,0 </coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>");

    // A clockwise outer ring with a counter-clockwise hole: one polygon. A clockwise
    // ring inside a counter-clockwise one is no hole: two polygons.
    const std::vector<Pt> withHole = {{0, 0}, {0, 4}, {10, 4}, {10, 0}, {0, 0}, {2, 1}, {4, 1}, {4, 3}, {2, 3}, {2, 1}};
    const std::string hole = Polygon({0, 5}, withHole);
    EXPECT_EQ(Count(hole, "<Polygon>"), 1);
    EXPECT_EQ(Count(hole, "MultiGeometry"), 0);
    EXPECT_NE(hole.find("</LinearRing></outerBoundaryIs><innerBoundaryIs><LinearRing><coordinates>"
                        "2.0000000000,1.0000000000,0 4.0000000000,1.0000000000,0 4.0000000000,3.0000000000,0 "
                        "2.0000000000,3.0000000000,0 2.0000000000,1.0000000000,0 </coordinates></LinearRing>"
                        "</innerBoundaryIs></Polygon></Placemark>"),
              std::string::npos)
        << hole;
    std::vector<Pt> inverted = kSquare;
    inverted.insert(inverted.end(), {{2, 1}, {2, 3}, {4, 3}, {4, 1}, {2, 1}});
    const std::string two = Polygon({0, 5}, inverted);
    EXPECT_EQ(Count(two, "<outerBoundaryIs>"), 2);
    EXPECT_EQ(Count(two, "innerBoundaryIs"), 0);
    EXPECT_EQ(Count(two, "MultiGeometry"), 2);

    // Holes get no centroid, and reversing turns every ring around.
    kml.Centroid = true;
    kml.MultiCentroid = true;
    kml.ReverseRings = true;
    const std::string reversed = Polygon({0, 5}, withHole);
    EXPECT_EQ(Count(reversed, "<Point>"), 1);
    EXPECT_NE(reversed.find("<innerBoundaryIs><LinearRing><coordinates>2.0000000000,1.0000000000,0 "
                            "2.0000000000,3.0000000000,0 4.0000000000,3.0000000000,0"),
              std::string::npos)
        << reversed;
    EXPECT_NE(reversed.find("<coordinates>5.0000000000,2.0000000000,0 </coordinates></Point>"), std::string::npos);
    kml.MultiCentroid = false;
    kml.ReverseRings = false;

    kml.Centroid = true;
    const std::string c = Polygon({0}, kSquare);
    EXPECT_NE(c.find("</styleUrl><MultiGeometry><Polygon>"), std::string::npos);
    EXPECT_NE(c.find("</Polygon><Point><extrude>0</extrude><altitudeMode>clampToGround</altitudeMode>"
                     "<coordinates>5.0000000000,2.0000000000,0 </coordinates></Point></MultiGeometry>"),
              std::string::npos)
        << c;
}

TEST_F(Placemarks, OneCentroidFollowsTheLongestRingUnlessEveryRingHasOne) {
    kml.Centroid = true;
    // Rings of outline 8, 12 and 12: the first of the two longest wins.
    const std::vector<Pt> rings = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0},
                                   {10, 0}, {13, 0}, {13, 3}, {10, 3}, {10, 0},
                                   {20, 0}, {23, 0}, {23, 3}, {20, 3}, {20, 0}};
    const std::string one = Polygon({0, 5, 10}, rings);
    EXPECT_EQ(Count(one, "<Point>"), 1);
    EXPECT_NE(one.find("10.0000000000,0.0000000000,0 </coordinates></LinearRing></outerBoundaryIs></Polygon>"
                       "<Point><extrude>0</extrude><altitudeMode>clampToGround</altitudeMode><coordinates>"
                       "11.5000000000,1.5000000000,0 </coordinates></Point>"),
              std::string::npos)
        << one;
    kml.MultiCentroid = true;
    const std::string all = Polygon({0, 5, 10}, rings);
    EXPECT_EQ(Count(all, "<Point>"), 3);
    EXPECT_NE(all.find("<coordinates>1.0000000000,1.0000000000,0 </coordinates></Point>"), std::string::npos);
    EXPECT_NE(all.find("<coordinates>21.5000000000,1.5000000000,0 </coordinates></Point>"), std::string::npos);
}

TEST_F(Placemarks, ReversedRingsRunBackwardsWithTheSameCentroid) {
    kml.Centroid = true;
    kml.ReverseRings = true;
    const std::string r = Polygon({0}, kSquare);
    EXPECT_NE(r.find("<coordinates>0.0000000000,0.0000000000,0 0.0000000000,4.0000000000,0 "
                     "10.0000000000,4.0000000000,0 10.0000000000,0.0000000000,0 0.0000000000,0.0000000000,0 "
                     "</coordinates>"),
              std::string::npos)
        << r;
    EXPECT_NE(r.find("<coordinates>5.0000000000,2.0000000000,0 </coordinates></Point>"), std::string::npos);
}

TEST_F(Placemarks, EmptyRingsAndRecordsGetNoGeometry) {
    kml.Centroid = true;
    kml.MultiCentroid = true;
    const std::string r = Polygon({0, 0}, kSquare);  // the first ring holds no point
    EXPECT_EQ(Count(r, "<Polygon>"), 2);
    EXPECT_NE(r.find("<LinearRing><coordinates></coordinates>"), std::string::npos);
    EXPECT_EQ(Count(r, "<Point>"), 1);
    EXPECT_EQ(Count(r, "nan"), 0);
    const std::string none = Polygon({}, {});
    EXPECT_NE(none.find("</styleUrl><MultiGeometry></MultiGeometry></Placemark>"), std::string::npos) << none;
}

TEST_F(Placemarks, FieldHeightsGoIntoEveryTupleAndGeometry) {
    kml.Extrude = '1';
    kml.HeightSource = 3;
    kml.HeightFactor = 2.5;
    kml.AltitudeMode = "relativeToGround";
    kml.Centroid = true;
    row.heightFieldValue = 3;
    const std::string p = Polygon({0}, kSquare);
    EXPECT_EQ(kml.HeightText, "7.500");
    EXPECT_EQ(Count(p, ",7.500 "), 6);
    EXPECT_EQ(Count(p, " "), 6);
    EXPECT_EQ(Count(p, "<extrude>1</extrude>"), 2);
    EXPECT_EQ(Count(p, "<altitudeMode>relativeToGround</altitudeMode>"), 2);
    EXPECT_EQ(Count(p, "<extrude>0"), 0);
}

TEST_F(Placemarks, ElevationHeightsAreEachVertexOwnZ) {
    kml.Extrude = '1';
    kml.HeightSource = 1;
    kml.HeightText = "";
    const std::vector<std::int32_t> parts = {0};
    const std::string line = Raw(13, Record(13, &parts, {{0, 0}, {1, 0}, {2, 0}}, {1, 2.5, -3.25}));
    EXPECT_NE(line.find("<coordinates>0.0000000000,0.0000000000,1.000 1.0000000000,0.0000000000,2.500 "
                        "2.0000000000,0.0000000000,-3.250 </coordinates>"),
              std::string::npos)
        << line;
    std::vector<unsigned char> pointZ;
    test::PutInt32LE(pointZ, 11);
    for (double v : {4.0, 5.0, 12.3456}) test::PutDouble(pointZ, v);
    EXPECT_NE(Raw(11, pointZ).find("5.0000000000,12.346 </coordinates>"), std::string::npos);
    // Without Z values every vertex stands at 0.
    const std::string flat = Polygon({0}, kSquare);
    EXPECT_EQ(Count(flat, ",0.000 "), 5);
    EXPECT_EQ(Count(flat, ", "), 0);
}

// A shape's Z is its height under an altitude mode that reads heights, extruded
// only when asked; on the ground, and for shapes without Z, the height stays 0.
TEST_F(Placemarks, ZValuesAreHeightsWheneverTheAltitudeModeReadsThem) {
    struct Case {
        const char* mode;
        char extrude;
        std::uint8_t source;  // with extrusion: 1 elevation, 2 constant
        std::int32_t type;    // 11 PointZ, 1 Point, 21 PointM
        const char* tuple;
    };
    const Case cases[] = {
        {"clampToGround", '0', 1, 11, "4.0000000000,5.0000000000,0 "},
        {"relativeToGround", '0', 1, 11, "4.0000000000,5.0000000000,12.346 "},
        {"absolute", '0', 1, 11, "4.0000000000,5.0000000000,12.346 "},
        {"absolute", '0', 1, 1, "4.0000000000,5.0000000000,0 "},
        {"absolute", '0', 1, 21, "4.0000000000,5.0000000000,0 "},
        {"absolute", '1', 1, 11, "4.0000000000,5.0000000000,12.346 "},
        {"absolute", '1', 2, 11, "4.0000000000,5.0000000000,7.000 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " extrude " + c.extrude + " type " + std::to_string(c.type));
        kml.AltitudeMode = c.mode;
        kml.Extrude = c.extrude;
        kml.HeightSource = c.source;
        kml.HeightValue = 7;
        kml.HeightText = "0";
        std::vector<unsigned char> point;
        test::PutInt32LE(point, c.type);
        for (double v : {4.0, 5.0}) test::PutDouble(point, v);
        if (c.type != 1) test::PutDouble(point, 12.3456);
        const std::string p = Raw(c.type, point);
        EXPECT_NE(p.find(std::string("<Point><extrude>") + c.extrude + "</extrude><altitudeMode>" + c.mode +
                         "</altitudeMode><coordinates>" + c.tuple + "</coordinates>"),
                  std::string::npos)
            << p;
    }
}

TEST_F(Placemarks, CoordinatesThatDoNotConvertLeaveTheFeatureOut) {
    test::ShpBuilder nanPoint(1);
    nanPoint.AddPoint(kNaN, 1);
    EXPECT_EQ(Write(nanPoint, FeatureResult::NotFinite), "");
    std::vector<Pt> ring = kSquare;
    ring[2].y = std::numeric_limits<double>::infinity();
    test::ShpBuilder badRing(5);
    badRing.AddPolygon({0}, ring);
    EXPECT_EQ(Write(badRing, FeatureResult::NotFinite), "");

    // A field height that overflows is no coordinate either.
    kml.Extrude = '1';
    kml.HeightSource = 3;
    kml.HeightFactor = 1e10;
    row.heightFieldValue = 1e300;
    test::ShpBuilder fine(1);
    fine.AddPoint(1, 2);
    EXPECT_EQ(Write(fine, FeatureResult::NotFinite), "");
    test::ShpBuilder null(1);
    null.AddNull();
    EXPECT_EQ(Write(null, FeatureResult::NotAGeometry), "");
    kml.Extrude = '0';

    // UTM far outside the projection's domain.
    datum.Geographic = false;
    datum.UtmZone = 31;
    test::ShpBuilder utm(1);
    utm.AddPoint(1e300, 5e6);
    EXPECT_EQ(Write(utm, FeatureResult::NotFinite), "");
    test::ShpBuilder utmFine(1);
    utmFine.AddPoint(500000, 0);
    const std::string u = Write(utmFine);
    EXPECT_NE(u.find("<coordinates>3.0000000000,0.0000000000,0 </coordinates>"), std::string::npos) << u;
}

}  // namespace
}  // namespace tessaly
