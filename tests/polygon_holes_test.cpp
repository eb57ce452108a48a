// Polygons with holes on real files: the outer rings and holes written are those
// GDAL reads from the same shapefile, and a whole document is kept as a golden file.

#include "test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunConverter;
using test::ReadText;

struct Rings {
    int polygons = 0;
    int holes = 0;
    bool operator==(const Rings&) const = default;
};

// Polygons and holes of each feature with a geometry, as GDAL reads the file. In
// WKT a polygon opens with "((" before its first number and each further ring
// with "(" alone.
std::vector<Rings> RingsByFeature(const fs::path& file, const std::string& layer) {
    const auto r = test::RunCommand("ogr2ogr -f CSV /vsistdout/ " + Quote(file) + " '" + layer +
                                    "' -lco GEOMETRY=AS_WKT 2>/dev/null");
    static const std::regex polygon(R"(\(\(-?\d)"), ring(R"(\(-?\d)");
    std::vector<Rings> features;
    std::istringstream in(r.output);
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        if (line.rfind("\"", 0) != 0) continue;
        const std::string wkt = line.substr(1, line.find('"', 1) - 1);
        const auto count = [&wkt](const std::regex& re) {
            return static_cast<int>(std::distance(std::sregex_iterator(wkt.begin(), wkt.end(), re), std::sregex_iterator()));
        };
        const int polygons = count(polygon);
        features.push_back({polygons, count(ring) - polygons});
    }
    return features;
}

TEST(PolygonHoles, OuterRingsAndHolesAreThoseGdalReads) {
    struct Case {
        const char* base;
        int holes;  // in the whole file, as GDAL counts them
    };
    const Case cases[] = {
        {"us-atlas/counties", 14}, {"pyshp/blockgroups", 6}, {"shapefile-js/polygons", 1}, {"us-atlas/states", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.base);
        test::TempDir dir;
        const fs::path shp = dir.CopyShared(c.base);
        const fs::path kml = dir / "out.kml";
        const auto r = RunConverter(Quote(shp) + " -o " + Quote(kml) + " --label '' -q");
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_TRUE(test::ValidKml(kml));
        const auto source = RingsByFeature(shp, shp.stem().string());
        const auto written = RingsByFeature(kml, "Features");
        ASSERT_EQ(source.size(), written.size());
        int holes = 0;
        for (std::size_t f = 0; f < source.size(); ++f) {
            ASSERT_EQ(written[f].polygons, source[f].polygons) << "feature " << f + 1;
            ASSERT_EQ(written[f].holes, source[f].holes) << "feature " << f + 1;
            holes += source[f].holes;
        }
        EXPECT_EQ(holes, c.holes);
        // Each hole is an inner boundary of its polygon in the document itself.
        const std::string doc = ReadText(kml);
        std::size_t inner = 0;
        for (std::size_t p = doc.find("<innerBoundaryIs>"); p != std::string::npos; p = doc.find("<innerBoundaryIs>", p + 1))
            ++inner;
        EXPECT_EQ(inner, static_cast<std::size_t>(c.holes));
    }
}

// The document of a real file with holes, class folders, centroids, roll-over
// styles and balloons, byte for byte. Faster reading and writing must not change it.
// TESSALY_UPDATE_GOLDEN=1 writes the new document, as for the other golden files.
TEST(PolygonHoles, DocumentOfARealFileWithHolesIsUnchanged) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    const auto r = RunConverter(Quote(shp) + " -q --label BKG_KEY --graduated POP1990 --classes 5 --folders --centroid"
                                        " --rollover --labels always --balloon BKG_KEY,POP1990");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(test::ValidKml(dir / "blockgroups.kml"));
    const fs::path gz = fs::path(TESSALY_GOLDEN_DIR) / "blockgroups.kml.gz";
    if (std::getenv("TESSALY_UPDATE_GOLDEN") != nullptr) {
        ASSERT_EQ(test::RunCommand("gzip -9nc " + Quote(dir / "blockgroups.kml") + " > " + Quote(gz)).status, 0);
    }
    const auto golden = test::RunCommand("gzip -dc " + Quote(gz));
    ASSERT_EQ(golden.status, 0);
    const std::string doc = ReadText(dir / "blockgroups.kml");
    ASSERT_EQ(doc.size(), golden.output.size());
    EXPECT_TRUE(doc == golden.output) << "the document differs from tests/golden/blockgroups.kml.gz";
}

}  // namespace
}  // namespace tessaly
