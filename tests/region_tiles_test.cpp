// Layers written as a tree of tiles with regions, checked against the same layer
// written as one document.

#include "engine/region_tiles.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunConverter;

TEST(RegionTiles, ThePlacemarkBoxCoversEveryPositionAndIgnoresAltitudes) {
    struct Case {
        std::string text;
        bool found;
        RegionBox box;
    };
    const Case cases[] = {
        {"<Point><coordinates>-3.5,40.25,120</coordinates></Point>", true, {-3.5, 40.25, -3.5, 40.25}},
        {"<LinearRing><coordinates>1,2 3,-4\n-5,6 1,2</coordinates></LinearRing><Point><coordinates>7,0</coordinates>",
         true, {-5, -4, 7, 6}},
        {"<name>no shape</name>", false, {}},
    };
    for (const Case& c : cases) {
        RegionBox box;
        ASSERT_EQ(PlacemarkBox(c.text, box), c.found) << c.text;
        if (!c.found) continue;
        EXPECT_EQ(box.west, c.box.west) << c.text;
        EXPECT_EQ(box.south, c.box.south) << c.text;
        EXPECT_EQ(box.east, c.box.east) << c.text;
        EXPECT_EQ(box.north, c.box.north) << c.text;
    }
}

// A layer of points spread unevenly: a dense cluster and a sparse field. Every
// tenth POP is empty.
fs::path WritePoints(const test::TempDir& dir, int count) {
    std::ofstream csv(dir / "points.csv");
    csv << "x,y,NAME,POP\n";
    for (int i = 0; i < count; ++i) {
        const double t = i * 0.618033988749895;
        const double spread = i % 3 == 0 ? 40.0 : 0.5;
        csv << -100 + spread * (t - static_cast<int>(t)) << "," << 35 + spread * ((i * 7919 % 1000) / 1000.0) << ",P"
            << i << "," << (i % 10 == 0 ? "" : std::to_string(i)) << "\n";
    }
    csv.close();
    const auto made = test::RunCommand("ogr2ogr -f 'ESRI Shapefile' " + Quote(dir / "points.shp") + " " +
                                       Quote(dir / "points.csv") +
                                       " -oo X_POSSIBLE_NAMES=x -oo Y_POSSIBLE_NAMES=y -oo AUTODETECT_TYPE=YES 2>&1");
    EXPECT_EQ(made.status, 0) << made.output;
    return dir / "points.shp";
}

TEST(RegionTiles, EveryRecordOnceInATreeOfTilesInsideTheirBoxes) {
    test::TempDir dir;
    struct Case {
        fs::path input;
        std::string options;
        int limit;
    };
    const Case cases[] = {
        {WritePoints(dir, 6000), " --label NAME --balloon POP --rollover", 250},
        {dir.CopyShared("us-atlas/counties"), "", 300},
        {dir.CopyShared("us-atlas/states"), " --unique name --folders --centroid --data", 5},
    };
    for (const Case& c : cases) {
        const std::string options = " -q" + c.options;
        const auto plain = RunConverter(Quote(c.input) + " -o " + Quote(dir / "plain.kml") + options);
        ASSERT_EQ(plain.status, 0) << plain.output;
        const auto tiled = RunConverter(Quote(c.input) + " -o " + Quote(dir / "tiled.kmz") + options +
                                        " --regions --region-size " + std::to_string(c.limit));
        ASSERT_EQ(tiled.status, 0) << tiled.output;
        const auto checked = test::RunCommand("python3 '" TESSALY_TEST_TOOLS "/check_region_tiles.py' " +
                                              Quote(dir / "tiled.kmz") + " " + Quote(dir / "plain.kml") + " " +
                                              std::to_string(c.limit) + " 2>&1");
        EXPECT_EQ(checked.status, 0) << c.input << c.options << ": " << checked.output;
        EXPECT_EQ(checked.output.find("1 tiles"), std::string::npos) << "no tree was made: " << checked.output;
    }
}

TEST(RegionTiles, EveryTileIsValidKml) {
    test::TempDir dir;
    // The second layer's empty values make a "No value" folder, whose default
    // style the tiles must find in the head, before the data's schema.
    const std::string layers[] = {
        Quote(dir.CopyShared("us-atlas/states")) + " --region-size 5",
        Quote(WritePoints(dir, 400)) + " --graduated POP --folders --data --region-size 50",
    };
    for (const std::string& layer : layers) {
        const auto made = RunConverter(layer + " -q -o " + Quote(dir / "t.kmz") + " --regions");
        ASSERT_EQ(made.status, 0) << layer << "\n" << made.output;
        fs::remove_all(dir / "t");
        ASSERT_EQ(test::RunCommand("cd " + Quote(dir.Path()) + " && unzip -q t.kmz -d t").status, 0);
        EXPECT_TRUE(test::ValidKml(dir / "t" / "doc.kml")) << layer;
        for (const auto& entry : fs::directory_iterator(dir / "t")) {
            if (entry.path().filename().string().starts_with("tile")) {
                EXPECT_TRUE(test::ValidKml(entry.path())) << layer;
            }
        }
    }
}

TEST(RegionTiles, AskedWithAKmlOrAnEmptyTileItIsAUsageError) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("us-atlas/states");
    for (const std::string& arguments : {" -o " + Quote(dir / "s.kml") + " --regions",
                                         " -o " + Quote(dir / "s.kmz") + " --regions --region-size 0",
                                         " -o " + Quote(dir / "s.kmz") + " --region-size 10"}) {
        const auto r = RunConverter(Quote(shp) + arguments);
        EXPECT_EQ(r.status, 2) << arguments << "\n" << r.output;
        EXPECT_FALSE(fs::exists(dir / "s.kmz")) << arguments;
    }
}

}  // namespace
}  // namespace tessaly
