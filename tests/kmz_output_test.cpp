// KMZ archives that GDAL reads whole, and the converter's progress on standard error.

#include "engine/icon_palette.h"
#include "engine/icon_pictures.h"
#include "engine/kmz_output.h"
#include "engine/run_progress.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

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

// The KML with the palette references of the given icons turned into the archive's own pictures.
std::string WithArchivedIcons(std::string kml, std::initializer_list<int> icons) {
    TGEIconList palette;
    palette.LoadPalette();
    for (int n : icons) {
        const std::string from = palette.Href(n), to = "<href>files/icons/" + std::to_string(n) + ".png</href>";
        EXPECT_NE(kml.find(from), std::string::npos) << from;
        for (std::size_t at = kml.find(from); at != std::string::npos; at = kml.find(from, at + to.size()))
            kml.replace(at, from.size(), to);
    }
    return kml;
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
    // The archive is whole for unzip and Python's zipfile, and its document is the KML, byte for byte.
    const auto tested = test::RunCommand("unzip -tq " + Quote(dir / "c.KMZ") + " 2>&1");
    EXPECT_EQ(tested.status, 0) << tested.output;
    const auto unpacked = test::RunCommand("python3 -c 'import sys, zipfile; sys.stdout.buffer.write("
                                           "zipfile.ZipFile(sys.argv[1]).read(\"doc.kml\"))' " + Quote(dir / "c.KMZ"));
    ASSERT_EQ(unpacked.status, 0);
    EXPECT_TRUE(unpacked.output == WithArchivedIcons(test::ReadText(dir / "c.kml"), {114}))
        << "the archive's doc.kml differs from the KML beyond its icons";

    const std::string kml = GdalRows(dir / "c.kml");
    EXPECT_GT(std::count(kml.begin(), kml.end(), '\n'), 663);
    EXPECT_TRUE(GdalRows(dir / "c.KMZ") == kml) << "GDAL reads the archive differently from the document";
}

// Python's zipfile names the entries of an archive and checks every checksum.
std::string ZipListing(const fs::path& archive) {
    return test::RunCommand("python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                            "assert z.testzip() is None; print(len(z.namelist()), z.namelist()[-1], len(z.read(z.namelist()[0])))' " +
                            Quote(archive) + " 2>&1")
        .output;
}

TEST(KmzOutput, Zip64DirectoryPastTheEntryLimitThatReadersAccept) {
    test::TempDir dir;
    const fs::path path = dir / "many.kmz";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    KmzOutput kmz(file);
    ASSERT_TRUE(kmz.Started());
    const std::string text(300000, 'k');
    ASSERT_TRUE(kmz.Write(text));
    std::vector<std::string> names;
    for (int i = 0; i < 65600; ++i) names.push_back("files/" + std::to_string(i) + ".txt");
    std::vector<ArchiveFile> files;
    for (const std::string& name : names) files.push_back({name, "x"});
    ASSERT_TRUE(kmz.Finish(files));
    ASSERT_EQ(std::fclose(file), 0);

    EXPECT_EQ(ZipListing(path), "65601 files/65599.txt 300000\n");
    const auto tested = test::RunCommand("unzip -tq " + Quote(path) + " 2>&1");
    EXPECT_EQ(tested.status, 0) << tested.output;
}

TEST(KmzOutput, CarriesThePicturesItsStylesUseAndRefersToThemRelatively) {
    test::TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/points");
    const std::string options = " -q --rollover --icon 7 --rollover-icon 20";
    ASSERT_EQ(RunConverter(Quote(shp) + " -o " + Quote(dir / "p.kml") + options).status, 0);
    ASSERT_EQ(RunConverter(Quote(shp) + " -o " + Quote(dir / "p.kmz") + options).status, 0);
    const auto listed = test::RunCommand("python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                                         "print(*z.namelist()); z.extractall(sys.argv[2])' " +
                                         Quote(dir / "p.kmz") + " " + Quote(dir / "unpacked"));
    EXPECT_EQ(listed.output, "doc.kml files/icons/7.png files/icons/20.png\n");
    for (int n : {7, 20}) {
        const auto stored = test::ReadBytes(dir / "unpacked/files/icons" / (std::to_string(n) + ".png"));
        EXPECT_TRUE(std::string(stored.begin(), stored.end()) == IconPicture(n)) << n;
    }
    EXPECT_TRUE(test::ReadText(dir / "unpacked/doc.kml") == WithArchivedIcons(test::ReadText(dir / "p.kml"), {7, 20}))
        << "the KMZ's document differs beyond its icons";
}

TEST(IconPictures, EveryPaletteIconHasADistinct32PixelPictureWithAlpha) {
    std::set<std::string_view> seen;
    for (int n = 1; n <= kPaletteIconCount; ++n) {
        const std::string_view png = IconPicture(n);
        ASSERT_GT(png.size(), 33u) << n;
        EXPECT_EQ(png.substr(0, 8), std::string_view("\x89PNG\r\n\x1a\n", 8)) << n;
        // IHDR: width and height 32, 8 bits, colour type 6 (RGBA).
        EXPECT_EQ(png.substr(16, 10), std::string_view("\0\0\0\x20\0\0\0\x20\x08\x06", 10)) << n;
        EXPECT_TRUE(seen.insert(png).second) << n << " repeats an earlier picture";
    }
    EXPECT_THROW(IconPicture(kPaletteIconCount + 1), std::out_of_range);
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
