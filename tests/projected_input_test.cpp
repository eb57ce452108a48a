// Projected input end to end: each real projected shapefile converted with no
// options, against GDAL's own reprojection (ogr2ogr, run as a command only).

#include "input/datum_tool.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
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

using Points = std::vector<std::pair<double, double>>;

// Longitude/latitude of every vertex of each named feature, as GDAL reads the file.
std::map<std::string, Points> FeaturePoints(const std::string& ogrArguments) {
    const auto r = RunCommand("ogr2ogr -f CSV /vsistdout/ " + ogrArguments + " -lco GEOMETRY=AS_WKT 2>/dev/null");
    std::map<std::string, Points> features;
    std::istringstream in(r.output);
    std::string line;
    std::getline(in, line);  // header
    static const std::regex number(R"(-?\d+(\.\d+)?([eE][-+]?\d+)?)");
    while (std::getline(in, line)) {
        const std::size_t close = line.find('"', 1);
        if (line.rfind("\"", 0) != 0 || close == std::string::npos) continue;
        const std::string wkt = line.substr(1, close - 1);
        std::vector<double> v;
        for (std::sregex_iterator it(wkt.begin(), wkt.end(), number), end; it != end; ++it) v.push_back(std::stod(it->str()));
        const std::size_t dims = wkt.find(" Z ") != std::string::npos ? 3 : 2;
        Points& points = features[line.substr(close + 2)];
        for (std::size_t i = 0; i + 1 < v.size(); i += dims) points.emplace_back(v[i], v[i + 1]);
    }
    return features;
}

// Each written vertex lies within `metres` of a vertex of the same feature in the reference.
void ExpectWithin(const std::map<std::string, Points>& written, const std::map<std::string, Points>& reference,
                  double metres, const std::string& what) {
    ASSERT_EQ(written.size(), reference.size()) << what;
    std::size_t compared = 0;
    for (const auto& [name, points] : written) {
        ASSERT_TRUE(reference.count(name)) << what << ": " << name;
        const Points& ref = reference.at(name);
        EXPECT_EQ(points.size(), ref.size()) << what << ": " << name;
        for (const auto& [x, y] : points) {
            double best = INFINITY;
            for (const auto& [rx, ry] : ref) {
                const double dx = (x - rx) * 111320 * std::cos(ry * std::numbers::pi / 180), dy = (y - ry) * 110574;
                best = std::min(best, std::hypot(dx, dy));
            }
            ASSERT_LT(best, metres) << what << ": " << name << " vertex " << x << " " << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000u) << what;
}

TEST(ProjectedInput, RealFilesMatchGdalWithinOneCentimetre) {
    TempDir dir;
    for (const char* name : {"states_conus_albers", "states_nad83_utm15n", "states_web_mercator"}) {
        const fs::path shp = dir.CopyShared(std::string("projected/") + name);
        const auto r = RunConverter(Quote(shp) + " -q");
        ASSERT_EQ(r.status, 0) << r.output;
        const auto written = FeaturePoints(Quote(fs::path(shp).replace_extension(".kml")) + " Features -select Name");
        const auto reference = FeaturePoints("-t_srs EPSG:4326 " + Quote(shp) + " -select name");
        ExpectWithin(written, reference, 0.01, name);
    }
}

TEST(ProjectedInput, Nad27FilesGiveTheDocumentsOfTheExplicitChoices) {
    TempDir dir;
    const struct {
        const char* name;
        const char* options;
    } cases[] = {{"states_nad27_utm16n", "--utm 16N --datum 133"}, {"states_nad27_geographic", "--datum 133"}};
    for (const auto& c : cases) {
        const fs::path shp = dir.CopyShared(std::string("projected/") + c.name);
        ASSERT_EQ(RunConverter(Quote(shp) + " -q -o " + Quote(dir / "prj.kml")).status, 0);
        ASSERT_EQ(RunConverter(Quote(shp) + " -q -o " + Quote(dir / "explicit.kml") + " " + c.options).status, 0);
        const std::string fromPrj = ReadText(dir / "prj.kml");
        EXPECT_GT(fromPrj.size(), 10000u);
        EXPECT_TRUE(test::ValidKml(dir / "prj.kml"));
        EXPECT_EQ(fromPrj, ReadText(dir / "explicit.kml")) << c.name;
    }
}

TEST(ProjectedInput, ProjectedNumbersTakenForDegreesEndTheRun) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("projected/states_wgs84_utm10n_noprj");
    const fs::path kml = fs::path(shp).replace_extension(".kml");
    std::ofstream(kml) << "earlier";
    const auto r = RunConverter(Quote(shp) + " -q");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(shp.string() + ": record 1: X 562825.0845451345, Y 4106976.8271974004 cannot be "
                                          "longitude and latitude: the data look projected"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(ReadText(kml), "earlier");
    // The same when PROJ would shift the degrees (GDA94, not in the catalogue).
    const auto gda = RunConverter(Quote(shp) + " -q --srs EPSG:4283");
    EXPECT_EQ(gda.status, 1);
    EXPECT_NE(gda.output.find("record 1: X 562825.0845451345"), std::string::npos) << gda.output;

    // Told its system, the same file converts, and EPSG's name for it is that system.
    ASSERT_EQ(RunConverter(Quote(shp) + " -q --utm 10N").status, 0);
    ASSERT_EQ(RunConverter(Quote(shp) + " -q --srs EPSG:32610 -o " + Quote(dir / "srs.kml")).status, 0);
    EXPECT_EQ(ReadText(dir / "srs.kml"), ReadText(kml));
}

TEST(ProjectedInput, GeographicRangeAllowsRoundingAtTheEdges) {
    TDatumTool tool;
    tool.SourceDatum = 219;
    tool.Prepare();
    EXPECT_EQ(tool.ConvertToWGS84(360.0000005, -90.0000005).longitude, 360.0000005);
    EXPECT_THROW(tool.ConvertToWGS84(-360.00001, 0), NotGeographicError);
    EXPECT_THROW(tool.ConvertToWGS84(0, 90.00001), NotGeographicError);
    tool.Geographic = false;
    tool.UtmZone = 10;
    EXPECT_NO_THROW(tool.ConvertToWGS84(562825, 4106976));
}

TEST(ProjectedInput, OptionsOverrideThePrjAndAnUnreadablePrjIsANote) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("projected/states_nad27_geographic");
    auto info = [&](const std::string& options) {
        const auto r = RunConverter("--info " + Quote(shp) + " " + options);
        const std::size_t at = r.output.find("Coordinate System: ");
        return at == std::string::npos ? r.output : r.output.substr(at, r.output.find('\n', at) - at);
    };
    EXPECT_EQ(info("--geographic"), "Coordinate System: longitude/latitude, WGS 1984 (datum 219), from the options");
    EXPECT_EQ(info("--utm 16N --datum 64"),
              "Coordinate System: UTM zone 16N, European 1950 MEAN FOR Austria; Belgium; Denmark; Finland; France; W "
              "Germany; Gibraltar (datum 64), from the options");
    EXPECT_EQ(info("--srs " + Quote(test::SharedData("projected/states_conus_albers.prj"))),
              "Coordinate System: NAD83 / Conus Albers through PROJ, datum 140, from states_conus_albers.prj");
    EXPECT_EQ(RunConverter("--info " + Quote(shp) + " --srs EPSG:4267 --geographic").status, 2);
    EXPECT_EQ(RunConverter("--info " + Quote(shp) + " --srs EPSG:99999").status, 2);

    std::ofstream(fs::path(shp).replace_extension(".prj")) << "GEOGCS[\"broken";
    const auto r = RunConverter(Quote(shp) + " -q");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("note: " + fs::path(shp).replace_extension(".prj").string() +
                            ": not a coordinate system PROJ can read"),
              std::string::npos)
        << r.output;
    EXPECT_EQ(info(""), "Coordinate System: longitude/latitude, WGS 1984 (datum 219): states_nad27_geographic.prj "
                        "cannot be read");
}

}  // namespace
}  // namespace tessaly
