// KMZ archives that GDAL reads whole, and the converter's progress on standard error.

#include "engine/run_progress.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunConverter;

// Geometries and attributes of a KML or KMZ document, as GDAL reads them.
std::string GdalRows(const fs::path& doc) {
    return test::RunCommand("ogr2ogr -f CSV /vsistdout/ " + Quote(doc) + " Features -lco GEOMETRY=AS_WKT 2>/dev/null")
        .output;
}

std::uint16_t U16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

TEST(KmzOutput, AnArchiveWithTheCompressedDocumentFirstThatGdalReadsWhole) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    const std::string options = " -q --label BKG_KEY --balloon POP1990 --centroid";
    ASSERT_EQ(RunConverter(Quote(shp) + " -o " + Quote(dir / "c.kml") + options).status, 0);
    const auto r = RunConverter(Quote(shp) + " -o " + Quote(dir / "c.KMZ") + options);
    ASSERT_EQ(r.status, 0) << r.output;

    // The first local file header: deflated, named doc.kml.
    const auto bytes = test::ReadBytes(dir / "c.KMZ");
    ASSERT_GT(bytes.size(), 38u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "PK\x03\x04");
    EXPECT_EQ(U16(bytes, 8), 8);
    EXPECT_EQ(std::string(bytes.begin() + 30, bytes.begin() + 30 + U16(bytes, 26)), "doc.kml");
    EXPECT_LT(bytes.size(), fs::file_size(dir / "c.kml") / 2);

    EXPECT_TRUE(test::ValidKml(dir / "c.kml"));
    EXPECT_TRUE(test::ValidKml(dir / "c.KMZ"));
    const std::string kml = GdalRows(dir / "c.kml");
    EXPECT_GT(std::count(kml.begin(), kml.end(), '\n'), 663);
    EXPECT_TRUE(GdalRows(dir / "c.KMZ") == kml) << "GDAL reads the archive differently from the document";
}

TEST(KmzOutput, AFailedRunLeavesAnEarlierArchiveAlone) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("us-atlas/states");
    auto bytes = test::ReadBytes(shp);
    bytes.resize(bytes.size() / 2);
    test::WriteBytes(shp, bytes);
    test::WriteBytes(dir / "states.kmz", {'o', 'l', 'd'});
    EXPECT_EQ(RunConverter(Quote(shp) + " -o " + Quote(dir / "states.kmz")).status, 1);
    EXPECT_EQ(test::ReadBytes(dir / "states.kmz"), (std::vector<unsigned char>{'o', 'l', 'd'}));
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().string().find(".part-"), std::string::npos) << entry.path();
}

TEST(RunProgress, PercentagesAndTheirText) {
    struct Case {
        long long done, total;
        int percent;
    };
    const Case cases[] = {{0, 663, 0}, {6, 663, 0}, {7, 663, 1}, {662, 663, 99}, {663, 663, 100},
                          {0, 0, 100}, {5, 3, 100},  {-1, 3, 0}};
    for (const Case& c : cases) EXPECT_EQ(PercentDone(c.done, c.total), c.percent) << c.done << " of " << c.total;
    EXPECT_EQ(StepWithPercent("Creating KML file...", 42), "Creating KML file... 42%");
}

TEST(RunProgress, NoProgressLineOffATerminalAndNothingButNotesWhenQuiet) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("us-atlas/counties");
    const auto piped = RunConverter(Quote(shp));
    ASSERT_EQ(piped.status, 0) << piped.output;
    EXPECT_NE(piped.output.find("Creating KML file...\n"), std::string::npos) << piped.output;
    EXPECT_NE(piped.output.find("3230 features written to "), std::string::npos) << piped.output;
    EXPECT_EQ(piped.output.find('%'), std::string::npos) << piped.output;
    EXPECT_EQ(piped.output.find('\r'), std::string::npos) << piped.output;

    const auto quiet = RunConverter(Quote(shp) + " -q");
    ASSERT_EQ(quiet.status, 0);
    // One Null record: its note is all there is.
    EXPECT_EQ(quiet.output.rfind("tessaly-convert: note: ", 0), 0u) << quiet.output;
    EXPECT_EQ(std::count(quiet.output.begin(), quiet.output.end(), '\n'), 1) << quiet.output;
}

}  // namespace
}  // namespace tessaly
