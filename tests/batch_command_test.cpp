// Many shapefiles converted in one call, several at a time.

#include "test_support.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::ReadText;
using test::RunConverter;
using test::TempDir;

// A folder of good shapefiles, a cut-short one, and one in a subfolder.
fs::path MadeFolder(const TempDir& dir) {
    const fs::path in = dir / "in";
    fs::create_directories(in / "sub");
    for (const char* base : {"points", "polygons", "polylines"})
        for (const char* ext : {".shp", ".dbf"})
            fs::copy_file(test::SharedData(std::string("shapefile-js/") + base + ext), in / (std::string(base) + ext));
    fs::copy_file(test::SharedData("shapefile-js/multipoints.shp"), in / "sub/multipoints.shp");
    fs::copy_file(test::SharedData("shapefile-js/multipoints.dbf"), in / "sub/multipoints.dbf");
    auto bytes = test::ReadBytes(in / "polygons.shp");
    bytes.resize(150);
    test::WriteBytes(in / "broken.shp", bytes);
    fs::copy_file(in / "polygons.dbf", in / "broken.dbf");
    return in;
}

TEST(BatchCommand, ABadInputFailsAloneAndDocumentsDoNotDependOnTheJobs) {
    TempDir dir;
    const fs::path in = MadeFolder(dir);
    const auto one = RunConverter(Quote(in) + " -o " + Quote(dir / "one/") + " --jobs 1");
    EXPECT_EQ(one.status, 1);
    EXPECT_NE(one.output.find("broken.shp: error: "), std::string::npos) << one.output;
    EXPECT_NE(one.output.find("points.shp: 9 features written to"), std::string::npos) << one.output;
    EXPECT_EQ(one.output.substr(one.output.rfind('\n', one.output.size() - 2) + 1),
              "tessaly-convert: 3 documents written, 1 failed\n");
    const auto two = RunConverter(Quote(in) + " -o " + Quote(dir / "two") + "/ --jobs 2 -q");
    EXPECT_EQ(two.status, 1);
    for (const char* name : {"points.kml", "polygons.kml", "polylines.kml"}) {
        ASSERT_TRUE(fs::exists(dir / "one" / name)) << name;
        EXPECT_EQ(ReadText(dir / "one" / name), ReadText(dir / "two" / name)) << name;
    }
    // Neither the failed input nor the subfolder's shapefile has a document.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "one"), fs::directory_iterator()), 3);
}

TEST(BatchCommand, InputsOfOneNameAreRefusedBeforeAnyWork) {
    TempDir dir;
    const fs::path in = MadeFolder(dir);
    const auto r = RunConverter(Quote(in / "points.shp") + " " + Quote(in / "sub/../points.shp") + " -o " +
                                Quote(dir / "out/"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("have the same name"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "out"));

    // Several inputs into a name that can only be one document make no folder of it.
    const auto one = RunConverter(Quote(in / "points.shp") + " " + Quote(in / "polygons.shp") + " -o " +
                                  Quote(dir / "all.kmz"));
    EXPECT_EQ(one.status, 2);
    EXPECT_NE(one.output.find("names a document"), std::string::npos) << one.output;
    EXPECT_FALSE(fs::exists(dir / "all.kmz"));

    // A field that no input has is the options' fault.
    EXPECT_EQ(RunConverter(Quote(in / "points.shp") + " " + Quote(in / "polygons.shp") + " --time NONE").status, 2);

    const auto kmz = RunConverter(Quote(in / "points.shp") + " " + Quote(in / "polygons.shp") + " --kmz -q");
    EXPECT_EQ(kmz.status, 0) << kmz.output;
    EXPECT_TRUE(fs::exists(in / "points.kmz") && fs::exists(in / "polygons.kmz"));
}

}  // namespace
}  // namespace tessaly
