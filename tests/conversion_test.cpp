// The converter run end to end on real files, its documents read back by GDAL.

#include "engine/polygon_rings.h"
#include "input/shapefile_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunConverter;
using test::ReadText;
using test::RunCommand;
using test::TempDir;

struct Geometry {
    std::string type;  // the first word of its WKT: POINT, MULTIPOLYGON ...
    std::vector<double> numbers;  // every coordinate, in the order written
};

// The geometry of each feature that has one, as GDAL reads it.
std::vector<Geometry> Geometries(const fs::path& file, const std::string& layer) {
    // A shapefile copy without its .shx gets one rebuilt beside it.
    const auto r = RunCommand("ogr2ogr --config SHAPE_RESTORE_SHX YES -f CSV /vsistdout/ " + Quote(file) + " '" + layer +
                              "' -lco GEOMETRY=AS_WKT 2>/dev/null");
    std::vector<Geometry> features;
    std::istringstream in(r.output);
    std::string line;
    std::getline(in, line);  // header
    static const std::regex number(R"(-?\d+(\.\d+)?([eE][-+]?\d+)?)");
    while (std::getline(in, line)) {
        if (line.rfind("\"", 0) != 0) continue;  // a row without geometry
        const std::string wkt = line.substr(1, line.find('"', 1) - 1);
        Geometry g;
        g.type = wkt.substr(0, wkt.find(' '));
        for (std::sregex_iterator it(wkt.begin(), wkt.end(), number), end; it != end; ++it)
            g.numbers.push_back(std::stod(it->str()));
        features.push_back(std::move(g));
    }
    return features;
}

std::vector<std::vector<double>> GeometryNumbers(const fs::path& file, const std::string& layer) {
    std::vector<std::vector<double>> numbers;
    for (Geometry& g : Geometries(file, layer)) numbers.push_back(std::move(g.numbers));
    return numbers;
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

int FeatureCount(const fs::path& kml) {
    const auto r = RunCommand("ogrinfo -ro -so " + Quote(kml) + " Features 2>/dev/null");
    const std::size_t at = r.output.find("Feature Count: ");
    return at == std::string::npos ? -1 : std::stoi(r.output.substr(at + 15));
}

// Geographic WGS 84 input: GDAL reads back the very coordinates of the shapefile
// (2D in the shapefile, with a height of 0 in the document).
void ExpectSameCoordinates(const fs::path& shp, const fs::path& kml) {
    const auto source = GeometryNumbers(shp, shp.stem().string());
    const auto written = GeometryNumbers(kml, "Features");
    ASSERT_EQ(source.size(), written.size()) << shp;
    for (std::size_t f = 0; f < source.size(); ++f) {
        ASSERT_EQ(source[f].size() / 2 * 3, written[f].size()) << shp << " feature " << f + 1;
        for (std::size_t i = 0; i < source[f].size() / 2; ++i) {
            ASSERT_NEAR(written[f][3 * i], source[f][2 * i], 1e-9) << shp << " feature " << f + 1;
            ASSERT_NEAR(written[f][3 * i + 1], source[f][2 * i + 1], 1e-9) << shp << " feature " << f + 1;
            ASSERT_EQ(written[f][3 * i + 2], 0);
        }
    }
}

TEST(Conversion, RealFilesReadBackWithTheirGeometry) {
    struct Case {
        const char* base;
        int features;  // records with a shape
        const char* geometry;
    };
    const Case cases[] = {
        {"us-atlas/states", 56, "POLYGON"},         {"us-atlas/counties", 3230, "POLYGON"},
        {"pyshp/blockgroups", 663, "POLYGON"},      {"pyshp/latin1", 1, "POLYGON"},
        {"shapefile-js/points", 9, "POINT"},        {"shapefile-js/multipoints", 2, "POINT"},
        {"shapefile-js/polylines", 2, "LINESTRING"}, {"shapefile-js/polygons", 3, "POLYGON"},
        {"shapefile-js/null", 5, "POINT"},          {"shapefile-js/utf8-property", 1, "POINT"},
        {"shapefile-js/empty", 0, ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path shp = dir.CopyShared(c.base);
        const fs::path kml = dir / "out.kml";
        // Numbered placemarks keep the table's order, so features pair up with records.
        const auto r = RunConverter(Quote(shp) + " -o " + Quote(kml) + " --label '' -q");
        ASSERT_EQ(r.status, 0) << c.base << ": " << r.output;
        EXPECT_TRUE(test::ValidKml(kml)) << c.base;
        EXPECT_EQ(FeatureCount(kml), c.features) << c.base;
        if (c.features == 0) continue;
        for (const Geometry& g : Geometries(kml, "Features"))
            ASSERT_NE(g.type.find(c.geometry), std::string::npos) << c.base << ": " << g.type;
        ExpectSameCoordinates(shp, kml);
    }
}

TEST(Conversion, NamesKeepTheirLettersAndMarkupShowsLiterally) {
    TempDir dir;
    const fs::path latin = dir.CopyShared("pyshp/latin1");
    ASSERT_EQ(RunConverter(Quote(latin) + " -q --label Name").status, 0);
    const auto names = RunCommand("ogrinfo -ro -al " + Quote(dir / "latin1.kml") + " Features 2>/dev/null");
    EXPECT_NE(names.output.find("Name (String) = \xC3\x91" "and\xC3\xBA"), std::string::npos) << names.output;

    const fs::path utf8 = dir.CopyShared("shapefile-js/utf8-property");
    ASSERT_EQ(RunConverter(Quote(utf8) + " -q --balloon \xE2\x98\x83").status, 0);
    const std::string text = ReadText(dir / "utf8-property.kml");
    EXPECT_NE(text.find("<name>\xCE\xB7\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xBF"), std::string::npos);
    EXPECT_NE(text.find("<b>\xE2\x98\x83</b>"), std::string::npos);

    // A table of awkward texts: every document stays well-formed.
    const fs::path pts = dir.CopyShared("shapefile-js/points");
    DBFHandle h = DBFCreate((dir / "points.dbf").c_str());
    DBFAddField(h, "NAME", FTString, 40, 0);
    const char* values[] = {"AT&T", "<5", "a]]>b", "x\x01y", "O'Hara \"q\"", "", "&amp;", "]]>", ">"};
    for (int i = 0; i < 9; ++i) DBFWriteStringAttribute(h, i, 0, values[i]);
    DBFClose(h);
    ASSERT_EQ(RunConverter(Quote(pts) + " -q --balloon NAME --title 'A & B' --description '<b>x</b> ]]> y'").status, 0);
    EXPECT_TRUE(test::ValidKml(dir / "points.kml"));
    const std::string doc = ReadText(dir / "points.kml");
    EXPECT_NE(doc.find("<name>AT&amp;T</name>"), std::string::npos);
    EXPECT_NE(doc.find("<font COLOR=\"#008000\">AT&amp;T</font>"), std::string::npos);
    EXPECT_NE(doc.find("<name>A &amp; B</name>"), std::string::npos);
    EXPECT_NE(doc.find("<![CDATA[<b>x</b> ]]"), std::string::npos);  // the description stays HTML
    const auto read = RunCommand("ogrinfo -ro -al " + Quote(dir / "points.kml") + " Features 2>/dev/null");
    EXPECT_NE(read.output.find("Name (String) = a]]>b"), std::string::npos) << read.output;
}

TEST(Conversion, FileNamesAndTitlesThatAreNotUtf8StayWellFormed) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    const std::string latin = "caf\xE9";  // a Latin-1 file name
    for (const char* ext : {".shp", ".shx", ".dbf"})
        fs::rename(fs::path(shp).replace_extension(ext), dir / (latin + ext));
    const fs::path input = dir / (latin + ".shp");
    ASSERT_EQ(RunConverter(Quote(input) + " -q").status, 0);
    const fs::path kml = dir / (latin + ".kml");
    EXPECT_TRUE(test::ValidKml(kml));
    EXPECT_NE(ReadText(kml).find("<name>caf\xC3\xA9.shp</name>"), std::string::npos);
    ASSERT_EQ(RunConverter(Quote(input) + " -q --title \"$(printf 'ab\\377cd')\" -o " + Quote(dir / "t.kml")).status, 0);
    EXPECT_TRUE(test::ValidKml(dir / "t.kml"));
    EXPECT_NE(ReadText(dir / "t.kml").find("<name>ab\xC3\xBF" "cd</name>"), std::string::npos);
}

TEST(Conversion, AFailedRunLeavesTheEarlierDocumentAlone) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("us-atlas/states");
    const fs::path kml = dir / "states.kml";
    test::WriteBytes(kml, {'o', 'l', 'd'});
    // Cut the shapefile inside a record after its header: the run must fail.
    auto bytes = test::ReadBytes(shp);
    bytes.resize(bytes.size() / 2);
    test::WriteBytes(shp, bytes);
    const auto r = RunConverter(Quote(shp));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(shp.string()), std::string::npos) << r.output;
    EXPECT_EQ(ReadText(kml), "old");
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().string().find(".part-"), std::string::npos) << entry.path();
}

TEST(Conversion, RefusesTablesThatDoNotMatchTheShapes) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    {
        DBFHandle h = DBFOpen((dir / "points.dbf").c_str(), "rb+");
        for (int i = 0; i < 3; ++i) DBFWriteIntegerAttribute(h, DBFGetRecordCount(h), 0, 99);
        DBFClose(h);
    }
    const auto more = RunConverter(Quote(shp));
    EXPECT_EQ(more.status, 1);
    EXPECT_NE(more.output.find("12 rows"), std::string::npos) << more.output;
    EXPECT_FALSE(fs::exists(dir / "points.kml"));

    const auto field = RunConverter(Quote(dir.CopyShared("us-atlas/states")) + " --label POP");
    EXPECT_EQ(field.status, 2);
    EXPECT_NE(field.output.find("no field \"POP\""), std::string::npos) << field.output;
}

TEST(Conversion, DeletedRowsAreLeftOutAndTheRestKeepTheirShapes) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    {
        DBFHandle h = DBFOpen((dir / "points.dbf").c_str(), "rb+");
        DBFMarkRecordDeleted(h, 1, 1);
        DBFClose(h);
    }
    ASSERT_EQ(RunConverter(Quote(shp) + " -q --label FID").status, 0);
    EXPECT_EQ(FeatureCount(dir / "points.kml"), 8);
    // GDAL leaves deleted rows out of the shapefile too: the rest pair up.
    const auto source = GeometryNumbers(shp, "points");
    const auto written = GeometryNumbers(dir / "points.kml", "Features");
    ASSERT_EQ(written.size(), source.size());
    for (std::size_t f = 0; f < source.size(); ++f) {
        EXPECT_NEAR(written[f][0], source[f][0], 1e-9);
        EXPECT_NEAR(written[f][1], source[f][1], 1e-9);
    }
}

TEST(Conversion, TablesThatAlreadyUseTheWorkingFieldNames) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    DBFHandle h = DBFCreate((dir / "points.dbf").c_str());
    DBFAddField(h, "ZID_SHX", FTString, 10, 0);
    DBFAddField(h, "DBF_GFX", FTInteger, 5, 0);
    for (int i = 0; i < 9; ++i) {
        DBFWriteStringAttribute(h, i, 0, ("z" + std::to_string(9 - i)).c_str());
        DBFWriteIntegerAttribute(h, i, 1, 100 + i);
    }
    DBFClose(h);
    const auto r = RunConverter(Quote(shp) + " -q --label ZID_SHX --balloon DBF_GFX");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string doc = ReadText(dir / "points.kml");
    // Sorted by the user's ZID_SHX; each still has its own row's values and shape.
    EXPECT_LT(doc.find("<name>z1</name>"), doc.find("<name>z9</name>"));
    EXPECT_NE(doc.find("<name>z1</name><Snippet></Snippet><description><![CDATA[<table border=0"),
              std::string::npos);
    const std::size_t z1 = doc.find("<name>z1</name>");
    EXPECT_LT(doc.find(">108</font>", z1), doc.find("</Placemark>", z1));
}

TEST(Conversion, UtmInputBecomesLongitudeAndLatitude) {
    TempDir dir;
    test::ShpBuilder b(1);
    b.AddPoint(600000, 5000000);
    b.AddPoint(500000, 0);
    test::WriteBytes(dir / "utm.shp", b.Bytes());
    DBFHandle h = DBFCreate((dir / "utm.dbf").c_str());
    DBFAddField(h, "NAME", FTString, 10, 0);
    DBFWriteStringAttribute(h, 0, 0, "a");
    DBFWriteStringAttribute(h, 1, 0, "b");
    DBFClose(h);
    ASSERT_EQ(RunConverter(Quote(dir / "utm.shp") + " -q --utm 14N").status, 0);
    const auto pts = GeometryNumbers(dir / "utm.kml", "Features");
    ASSERT_EQ(pts.size(), 2u);
    EXPECT_NEAR(pts[0][0], -97.72797, 5e-6);
    EXPECT_NEAR(pts[0][1], 45.14639, 5e-6);
    EXPECT_NEAR(pts[1][0], -99, 1e-12);
    EXPECT_NEAR(pts[1][1], 0, 1e-12);
}

TEST(Conversion, HeightsFromTheShapesOwnZValues) {
    TempDir dir;
    test::ShpBuilder b(11);
    for (double z : {12.25, -3.5}) {
        std::vector<unsigned char> c;
        test::PutInt32LE(c, 11);
        for (double v : {10.0, 20.0, z, 0.0}) test::PutDouble(c, v);
        b.AddRaw(c);
    }
    test::WriteBytes(dir / "z.shp", b.Bytes());
    DBFHandle h = DBFCreate((dir / "z.dbf").c_str());
    DBFAddField(h, "ID", FTInteger, 5, 0);
    DBFWriteIntegerAttribute(h, 0, 0, 1);
    DBFWriteIntegerAttribute(h, 1, 0, 2);
    DBFClose(h);
    ASSERT_EQ(RunConverter(Quote(dir / "z.shp") + " -q --extrude elevation --altitude absolute").status, 0);
    const std::string doc = ReadText(dir / "z.kml");
    EXPECT_NE(doc.find("<coordinates>10.0000000000,20.0000000000,12.250 </coordinates>"), std::string::npos);
    EXPECT_NE(doc.find("<coordinates>10.0000000000,20.0000000000,-3.500 </coordinates>"), std::string::npos);
    EXPECT_NE(doc.find("<extrude>1</extrude><altitudeMode>absolute</altitudeMode>"), std::string::npos);

    // A file without Z values stands on 0.
    const fs::path flat = dir.CopyShared("shapefile-js/points");
    ASSERT_EQ(RunConverter(Quote(flat) + " -q --extrude elevation --altitude relative").status, 0);
    EXPECT_NE(ReadText(dir / "points.kml").find(",0.000 </coordinates>"), std::string::npos);
}

// Five stray bytes after the last record, as some writers leave: the file converts
// whole, as it would without them, with a note.
TEST(Conversion, StrayBytesAfterTheLastRecordAreLeftAloneWithANote) {
    TempDir dir;
    const fs::path clean = dir.CopyShared("us-atlas/states");
    ASSERT_EQ(RunConverter(Quote(clean) + " -q --label name -o " + Quote(dir / "clean.kml")).status, 0);
    auto bytes = test::ReadBytes(clean);
    bytes.insert(bytes.end(), {'t', 'a', 'i', 'l', '\n'});
    test::WriteBytes(clean, bytes);
    const auto r = RunConverter(Quote(clean) + " -q --label name -o " + Quote(dir / "stray.kml"));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("5 stray bytes after the last record"), std::string::npos) << r.output;
    EXPECT_EQ(FeatureCount(dir / "stray.kml"), 56);
    EXPECT_TRUE(ReadText(dir / "stray.kml") == ReadText(dir / "clean.kml"));
}

// A PointZ file written by GDAL from a shared one: under an absolute altitude each
// point stands at its own Z, not extruded; laid on the ground, at 0.
TEST(Conversion, PointZKeepsItsHeightsUnderAnAbsoluteAltitude) {
    TempDir dir;
    const fs::path points = dir.CopyShared("shapefile-js/points");
    const fs::path z = dir / "z.shp";
    ASSERT_EQ(RunCommand("ogr2ogr -f 'ESRI Shapefile' " + Quote(z) + " " + Quote(points) +
                         " -dialect SQLite -sql \"SELECT MakePointZ(ST_X(geometry), ST_Y(geometry), "
                         "1017.25 - 100 * ROWID) AS geometry, * FROM points\" 2>&1")
                  .status,
              0);
    ASSERT_EQ(RunConverter(Quote(z) + " -q --label '' --altitude absolute -o " + Quote(dir / "abs.kml")).status, 0);
    ASSERT_EQ(RunConverter(Quote(z) + " -q --label '' -o " + Quote(dir / "ground.kml")).status, 0);
    for (const char* kml : {"abs.kml", "ground.kml"}) EXPECT_TRUE(test::ValidKml(dir / kml));
    const std::string doc = ReadText(dir / "abs.kml");
    EXPECT_EQ(doc.find("<extrude>1"), std::string::npos);
    const auto source = GeometryNumbers(z, "z");
    const auto absolute = GeometryNumbers(dir / "abs.kml", "Features");
    const auto ground = GeometryNumbers(dir / "ground.kml", "Features");
    ASSERT_EQ(source.size(), 9u);
    ASSERT_EQ(absolute.size(), source.size());
    ASSERT_EQ(ground.size(), source.size());
    for (std::size_t f = 0; f < source.size(); ++f) {
        ASSERT_EQ(absolute[f].size(), 3u);
        EXPECT_EQ(absolute[f], source[f]);
        EXPECT_EQ(ground[f][2], 0);
    }
    EXPECT_EQ(source[0][2], 1017.25);
    // GDAL's own reading of the altitude mode, which an unknown word leaves empty.
    const auto modes = RunCommand("ogrinfo -ro -al " + Quote(dir / "abs.kml") + " Features 2>/dev/null");
    const auto grounded = RunCommand("ogrinfo -ro -al " + Quote(dir / "ground.kml") + " Features 2>/dev/null");
    EXPECT_EQ(Count(modes.output, "altitudeMode (String) = absolute"), 9) << modes.output;
    EXPECT_EQ(Count(grounded.output, "altitudeMode (String) = clampToGround"), 9) << grounded.output;
}

// Every country's label point lies inside its polygon and outside its holes.
TEST(Conversion, LabelPointsOfTheWorldsCountriesLieInside) {
    TempDir dir;
    const fs::path shp = dir / "world.shp";
    for (const char* ext : {".shp", ".shx", ".dbf", ".cpg"})
        fs::copy_file(fs::path(TESSALY_TEST_DATA) / (std::string("world_countries_110m") + ext),
                      fs::path(shp).replace_extension(ext));
    const auto r = RunConverter(Quote(shp) + " -q --label name --centroid --multi-centroid");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(test::ValidKml(dir / "world.kml"));
    const std::string doc = ReadText(dir / "world.kml");
    EXPECT_EQ(Count(doc, "<Placemark>"), 177);
    auto tuples = [](const std::string& text) {
        std::vector<TCXY> points;
        std::istringstream in(text);
        std::string tuple;
        while (in >> tuple) {
            TCXY p;
            std::sscanf(tuple.c_str(), "%lf,%lf", &p.X, &p.Y);
            points.push_back(p);
        }
        return points;
    };
    // With a label point for every polygon, each Polygon is followed by its Point.
    const std::string boundary = "BoundaryIs><LinearRing><coordinates>";
    int polygons = 0;
    for (std::size_t at = doc.find("<Polygon>"); at != std::string::npos; at = doc.find("<Polygon>", at + 1)) {
        ++polygons;
        const std::size_t close = doc.find("</Polygon>", at);
        const std::string name = doc.substr(doc.rfind("<name>", at), 40);
        ASSERT_EQ(doc.compare(close + 10, 7, "<Point>"), 0) << name;
        const std::size_t from = doc.find("<coordinates>", close) + 13;
        const TCXY label = tuples(doc.substr(from, doc.find('<', from) - from)).at(0);
        for (std::size_t b = doc.find(boundary, at); b < close; b = doc.find(boundary, b + 1)) {
            const std::size_t c = b + boundary.size();
            const std::vector<TCXY> ring = tuples(doc.substr(c, doc.find('<', c) - c));
            const bool outer = doc.compare(b - 5, 5, "outer") == 0;
            // North Korea has a ring of four equal points: there is no inside to be in.
            if (outer && TwiceSignedArea(ring) == 0) continue;
            EXPECT_EQ(PlaceOf(label, ring), outer ? PointPlace::Inside : PointPlace::Outside)
                << name << ": " << label.X << " " << label.Y;
        }
    }
    EXPECT_GT(polygons, 177);
}

TEST(Conversion, VeryLargeRecordsAreWrittenWhole) {
    TempDir dir;
    test::ShpBuilder b(5);
    std::vector<test::ShpBuilder::Point> ring;
    for (int i = 0; i < 60000; ++i) {
        const double a = 2 * 3.141592653589793 * i / 60000;
        ring.push_back({10 + std::cos(a), 50 + std::sin(a)});
    }
    ring.push_back(ring.front());
    b.AddPolygon({0}, ring);
    auto bad = ring;
    bad[30000].x = std::nan("");
    b.AddPolygon({0}, bad);  // one coordinate that is not a number: left out, not half written
    test::WriteBytes(dir / "big.shp", b.Bytes());
    DBFHandle h = DBFCreate((dir / "big.dbf").c_str());
    DBFAddField(h, "NAME", FTString, 8, 0);
    DBFWriteStringAttribute(h, 0, 0, "good");
    DBFWriteStringAttribute(h, 1, 0, "bad");
    DBFClose(h);
    const auto r = RunConverter(Quote(dir / "big.shp") + " -q --centroid");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("1 record left out"), std::string::npos) << r.output;
    EXPECT_TRUE(test::ValidKml(dir / "big.kml"));
    const auto written = GeometryNumbers(dir / "big.kml", "Features");
    ASSERT_EQ(written.size(), 1u);
    ASSERT_EQ(written[0].size(), 3 * (ring.size() + 1));  // the ring, then its centroid
    for (std::size_t i = 0; i < ring.size(); ++i) {
        ASSERT_NEAR(written[0][3 * i], ring[i].x, 1e-9);
        ASSERT_NEAR(written[0][3 * i + 1], ring[i].y, 1e-9);
    }
    EXPECT_NEAR(written[0][3 * ring.size()], 10, 1e-9);
}

TEST(Conversion, ChecksBeforeCreatingUseTheWizardsTexts) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    struct Case {
        std::string args, message;
    };
    const Case cases[] = {
        {"--extrude field:POP1990", "Altitude mode must be \"Relative to Ground\" or \"Absolute\" for 3D"},
        {"--extrude field: --altitude absolute", "Select a Field for 3D values"},
        {"--extrude field:POP1990:0 --altitude absolute", "Height Factor must be >0"},
        {"--extrude constant:-2 --altitude relative", "Input a value >0 for 3D"},
    };
    for (const Case& c : cases) {
        const auto r = RunConverter(Quote(shp) + " " + c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << c.args << ": " << r.output;
    }
    EXPECT_FALSE(fs::exists(dir / "blockgroups.kml"));
    // "1,5" reads as 15 once the comma is removed: it passes.
    const auto ok = RunConverter(Quote(shp) + " -q --extrude field:POP1990:1,5 --altitude relative");
    EXPECT_EQ(ok.status, 0) << ok.output;
}

// Balloon values travel with the rows through batches read in table order and
// written in label order: over several batches, with deleted rows and the label
// field among the balloon's, every placemark shows its own row's values.
TEST(Conversion, BalloonValuesStayWithTheirRowsAcrossBatches) {
    TempDir dir;
    // Wide values make a batch hold some 16,000 rows: 40,000 rows need three.
    constexpr int kRows = 40000;
    test::ShpBuilder shp(1);
    DBFHandle h = DBFCreate((dir / "rows.dbf").c_str());
    DBFAddField(h, "NAME", FTString, 12, 0);
    DBFAddField(h, "WIDE", FTString, 254, 0);
    DBFAddField(h, "N", FTInteger, 9, 0);
    int live = 0;
    for (int row = 0; row < kRows; ++row) {
        shp.AddPoint(row % 360 - 180, row % 180 - 90);
        // Label order is far from table order.
        const int key = static_cast<int>((row * 7919LL) % kRows);
        DBFWriteStringAttribute(h, row, 0, ("n" + std::to_string(100000 + key)).c_str());
        DBFWriteStringAttribute(h, row, 1, ("w" + std::to_string(key) + " & " + std::to_string(row)).c_str());
        DBFWriteIntegerAttribute(h, row, 2, row);
        if (row % 7 == 3) DBFMarkRecordDeleted(h, row, 1);
        else ++live;
    }
    DBFClose(h);
    test::WriteBytes(dir / "rows.shp", shp.Bytes());
    const auto r = RunConverter(Quote(dir / "rows.shp") + " -q --label NAME --balloon N,NAME,WIDE");
    ASSERT_EQ(r.status, 0) << r.output;

    const std::string doc = ReadText(dir / "rows.kml");
    static const std::regex placemark(
        "<name>n1(\\d+)</name>.*"
        "<b>NAME</b>.*\">n1(\\d+)</font>.*"
        "<b>WIDE</b>.*\">w(\\d+) &amp; (\\d+)</font>.*"
        "<b>N</b>.*\">(\\d+)</font>");
    int count = 0, previous = -1;
    for (std::size_t at = doc.find("<Placemark>"); at != std::string::npos; at = doc.find("<Placemark>", at + 1), ++count) {
        const std::string text = doc.substr(at, doc.find("</Placemark>", at) - at);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, placemark)) << text;
        const int key = std::stoi(m[1]), row = std::stoi(m[4]);
        ASSERT_GT(key, previous) << "not in label order";
        previous = key;
        ASSERT_EQ(std::stoi(m[2]), key);
        ASSERT_EQ(std::stoi(m[3]), key);
        ASSERT_EQ(std::stoi(m[5]), row);
        ASSERT_EQ((row * 7919LL) % kRows, key) << "row " << row;
        ASSERT_NE(row % 7, 3) << "a deleted row";
    }
    EXPECT_EQ(count, live);
}

}  // namespace
}  // namespace tessaly
