// Documents stay in proportion to their input: every vertex is written once, part
// starts that go back are refused, and tables that do not cover the shapes or
// cannot be copied are reported, never passed over in silence.

#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <fstream>
#include <random>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunConverter;
using test::ReadText;
using Pt = test::ShpBuilder::Point;

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
    return n;
}

void WriteTable(const fs::path& dbf, int rows) {
    DBFHandle h = DBFCreate(dbf.c_str());
    DBFAddField(h, "ID", FTInteger, 8, 0);
    for (int i = 0; i < rows; ++i) DBFWriteIntegerAttribute(h, i, 0, i + 1);
    DBFClose(h);
}

// A polygon file of random records: 0 to 5 rings each, rings of 0 to 9 points
// (empty parts give equal starts), every vertex a position of its own.
int WriteRandomPolygons(const fs::path& shp, std::mt19937& rng, int records) {
    test::ShpBuilder b(5);
    std::uniform_int_distribution<int> rings(0, 5), size(0, 9);
    std::uniform_real_distribution<double> lon(-170, 170), lat(-80, 80);
    int vertices = 0;
    for (int r = 0; r < records; ++r) {
        std::vector<std::int32_t> parts;
        std::vector<Pt> points;
        for (int k = rings(rng); k > 0; --k) {
            parts.push_back(static_cast<std::int32_t>(points.size()));
            for (int n = size(rng); n > 0; --n) points.push_back({lon(rng), lat(rng)});
        }
        vertices += static_cast<int>(points.size());
        b.AddPolygon(parts, points);
    }
    test::WriteBytes(shp, b.Bytes());
    WriteTable(fs::path(shp).replace_extension(".dbf"), records);
    return vertices;
}

TEST(BoundedOutput, EveryVertexIsWrittenOncePerDocumentPlusCentroids) {
    test::TempDir dir;
    std::mt19937 rng(20261208);
    for (int file = 0; file < 6; ++file) {
        const fs::path shp = dir / "random.shp";
        const int vertices = WriteRandomPolygons(shp, rng, 40);
        for (const char* options : {"", " --centroid", " --centroid --multi-centroid"}) {
            SCOPED_TRACE("file " + std::to_string(file) + options);
            const auto r = RunConverter(Quote(shp) + " -q --label ''" + options);
            ASSERT_EQ(r.status, 0) << r.output;
            EXPECT_TRUE(test::ValidKml(dir / "random.kml"));
            const std::string doc = ReadText(dir / "random.kml");
            // Every tuple ends in its height 0 and a blank.
            const int tuples = Count(doc, ",0 ");
            const int centroids = Count(doc, "<Point>");
            EXPECT_EQ(tuples, vertices + centroids);
            EXPECT_LE(centroids, Count(doc, "<Polygon>"));
            if (options[0] == '\0') {
                EXPECT_EQ(centroids, 0);
            }
        }
    }
}

TEST(BoundedOutput, PartStartsThatGoBackAreRefused) {
    test::TempDir dir;
    // 0, N, 0, N: each part would be the whole point list again.
    test::ShpBuilder b(5);
    std::vector<Pt> points;
    for (int i = 0; i < 50; ++i) points.push_back({i * 0.1, i * 0.2});
    b.AddPolygon({0}, points);
    b.AddPolygon({0, 50, 0, 50}, points);
    test::WriteBytes(dir / "back.shp", b.Bytes());
    WriteTable(dir / "back.dbf", 2);
    const auto r = RunConverter(Quote(dir / "back.shp") + " -q");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("back.shp"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("record 2"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("part 3 starts at point 0, before the start 50 of part 2"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "back.kml"));
}

TEST(BoundedOutput, RecordsWithoutARowAreLeftOutWithANote) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    WriteTable(dir / "points.dbf", 6);
    const auto r = RunConverter(Quote(shp) + " -q --label ''");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("note: " + shp.string() + ": 3 records without a row in " + (dir / "points.dbf").string() +
                            " (it has 6 rows) not written"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(Count(ReadText(dir / "points.kml"), "<Placemark>"), 6);
}

// A dBase table of `rows` rows whose second field has a width of 0 bytes.
std::vector<unsigned char> TableWithAnEmptyField(int rows) {
    std::vector<unsigned char> t(32, 0);
    t[0] = 0x03;
    t[4] = static_cast<unsigned char>(rows);
    const int header = 32 + 2 * 32 + 1;
    t[8] = header & 0xFF;
    t[9] = header >> 8;
    t[10] = 1 + 5;  // the deletion flag and NAME
    auto field = [&t](const char* name, char type, unsigned char width) {
        std::vector<unsigned char> d(32, 0);
        for (int i = 0; name[i] != '\0'; ++i) d[static_cast<std::size_t>(i)] = static_cast<unsigned char>(name[i]);
        d[11] = static_cast<unsigned char>(type);
        d[16] = width;
        t.insert(t.end(), d.begin(), d.end());
    };
    field("NAME", 'C', 5);
    field("EMPTY", 'N', 0);
    t.push_back(0x0D);
    for (int r = 0; r < rows; ++r) {
        std::string row = "row" + std::to_string(r);
        row.resize(5, ' ');
        row.insert(row.begin(), ' ');
        t.insert(t.end(), row.begin(), row.end());
    }
    t.push_back(0x1A);
    return t;
}

TEST(BoundedOutput, AFieldTheWorkingCopyCannotTakeIsNamedWithItsTable) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    test::WriteBytes(dir / "points.dbf", TableWithAnEmptyField(9));
    const auto r = RunConverter(Quote(shp) + " -q --label NAME");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find((dir / "points.dbf").string() + ": field \"EMPTY\" has a width of 0 bytes"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("tessaly.dbf"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "points.kml"));
}

}  // namespace
}  // namespace tessaly
