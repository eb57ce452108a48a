#include "input/datum_tool.h"
#include "input/datum_catalogue.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

// PROJ's cs2cs and cct (package proj-bin) are the independent reference here;
// they are only run as commands, never linked.

namespace tessaly {
namespace {

using test::TempDir;
using Row = std::vector<double>;

constexpr double kDeg = std::numbers::pi / 180.0;

// Number text that round-trips and ignores the locale (the tests run under a
// comma-decimal one where the machine has it).
std::string Num(double v) {
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// Runs a PROJ tool on the given input lines; one row of numbers per output line.
// A missing tool is a failure, not a skip: CI installs proj-bin.
std::vector<Row> RunProj(const std::string& tool, const std::string& args,
                         const std::vector<std::string>& lines) {
    TempDir dir;
    {
        std::ofstream in(dir / "in.txt");
        for (const std::string& l : lines) in << l << '\n';
    }
    const std::string command = tool + " " + args + " < '" + (dir / "in.txt").string() + "' 2> '" +
                                (dir / "err.txt").string() + "'";
    const test::CommandResult r = test::RunCommand(command);
    std::ifstream errFile(dir / "err.txt");
    const std::string err((std::istreambuf_iterator<char>(errFile)), std::istreambuf_iterator<char>());
    if (r.status == 127) {
        ADD_FAILURE() << "PROJ's " << tool << " is not installed (Debian package proj-bin): " << err;
        return {};
    }
    if (r.status != 0) {
        ADD_FAILURE() << command << " exited with " << r.status << ": " << err;
        return {};
    }
    std::vector<Row> rows;
    std::istringstream out(r.output);
    for (std::string line; std::getline(out, line);) {
        std::istringstream fields(line);
        Row row;
        for (std::string f; fields >> f;) {
            double v = 0;
            const auto parsed = std::from_chars(f.data(), f.data() + f.size(), v);
            const bool whole = parsed.ec == std::errc() && parsed.ptr == f.data() + f.size();
            row.push_back(whole ? v : std::nan(""));  // "*" marks a failed point
        }
        rows.push_back(row);
    }
    EXPECT_EQ(rows.size(), lines.size()) << command << "\n" << r.output;
    return rows;
}

DatumParams EllipsoidParams(int number) {
    const Ellipsoid e = GetEllipsoid(number);
    DatumParams p;
    p.A = e.a;
    p.F = e.f;
    p.B = SemiMinorAxis(e.a, e.f);
    p.E2 = EccentricitySquared(e.f);
    return p;
}

std::string EllipsoidArgs(int number) {
    const Ellipsoid e = GetEllipsoid(number);
    return "+a=" + Num(e.a) + " +rf=" + Num(1 / e.f);
}

std::string UtmArgs(int zone, bool north, int ellipsoid) {
    return "+proj=utm +zone=" + std::to_string(zone) + (north ? "" : " +south") + " " +
           EllipsoidArgs(ellipsoid);
}

// Ground distance between two nearby points, from the local radii of curvature.
double Metres(double lonA, double latA, double lonB, double latB, const DatumParams& e) {
    const double s = std::sin((latA + latB) / 2 * kDeg);
    const double w = 1 - e.E2 * s * s;
    const double rn = e.A / std::sqrt(w);
    const double rm = e.A * (1 - e.E2) / std::pow(w, 1.5);
    const double north = (latB - latA) * kDeg * rm;
    const double east = (lonB - lonA) * kDeg * rn * std::cos((latA + latB) / 2 * kDeg);
    return std::hypot(north, east);
}

TDatumTool MakeTool(int datum, bool geographic = true, int zone = 0, bool north = true) {
    TDatumTool t;
    t.SourceDatum = datum;
    t.Geographic = geographic;
    t.UtmZone = static_cast<std::uint8_t>(zone);
    t.North = north;
    t.Prepare();
    return t;
}

void Report(const std::string& what, double value) {
    std::cout << "[ measured ] " << what << " " << value << "\n";
    ::testing::Test::RecordProperty(what, Num(value));
}

TEST(UtmInverse, ReproducesKnownWgs84Points) {
    const DatumParams wgs84 = EllipsoidParams(kWgs84Ellipsoid);
    struct Case { int zone; bool north; double e, n, lon, lat; };
    const Case cases[] = {
        {14, true, 600000, 5000000, -97.72797, 45.14639},
        {33, true, 600000, 5000000, 16.27203, 45.14639},
        {56, false, 334000, 6250000, 151.20514, -33.87729},
        {12, true, 500000, 0, -111, 0},
        {19, false, 500000, 4000000, -69, -54.14810},
    };
    for (const Case& c : cases) {
        const LonLat p = TDatumTool::UTMToGeographic(c.zone, c.north, c.e, c.n, wgs84);
        EXPECT_NEAR(p.longitude, c.lon, 5e-6) << "zone " << c.zone << " E " << c.e << " N " << c.n;
        EXPECT_NEAR(p.latitude, c.lat, 5e-6) << "zone " << c.zone << " E " << c.e << " N " << c.n;
    }
    // On the central meridian every term in the easting vanishes.
    for (double n : {0.0, 4321000.0, 9000000.0})
        EXPECT_EQ(TDatumTool::UTMToGeographic(31, true, 500000, n, wgs84).longitude, 3.0);
    // A southern northing is its distance below 10,000 km, mirrored.
    const LonLat south = TDatumTool::UTMToGeographic(19, false, 420000, 4000000, wgs84);
    const LonLat north = TDatumTool::UTMToGeographic(19, true, 420000, 6000000, wgs84);
    EXPECT_DOUBLE_EQ(south.latitude, -north.latitude);
    EXPECT_DOUBLE_EQ(south.longitude, north.longitude);
}

TEST(UtmInverse, MatchesProjWithinOneMillimetre) {
    struct Zone { int zone; bool north; int ellipsoid; };
    const Zone zones[] = {{1, true, 23}, {14, true, 6}, {31, true, 18}, {33, false, 5},
                          {56, false, 3}, {19, false, 23}, {30, true, 1}, {54, true, 19}};
    double worst = 0;
    std::string worstWhere;
    for (const Zone& z : zones) {
        const DatumParams ell = EllipsoidParams(z.ellipsoid);
        std::vector<std::string> lines;
        std::vector<std::pair<double, double>> points;
        for (double fromEquator = 0; fromEquator <= 8.9e6; fromEquator += 2e5) {
            for (double e = 200000; e <= 800000; e += 10000) {
                const double n = z.north ? fromEquator : 1e7 - fromEquator;
                points.emplace_back(e, n);
                lines.push_back(Num(e) + " " + Num(n));
            }
        }
        const std::vector<Row> proj = RunProj(
            "cs2cs", "-f %.12f " + UtmArgs(z.zone, z.north, z.ellipsoid) + " +to +proj=longlat " +
                         EllipsoidArgs(z.ellipsoid), lines);
        ASSERT_EQ(proj.size(), points.size());
        const double cm = 6.0 * z.zone - 183;
        int inside = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            ASSERT_GE(proj[i].size(), 2u);
            // The zone is 3 degrees either side; the series' truncation error reaches
            // 1 mm about 3.48 degrees out (at 45-68 degrees latitude), so stop short of that.
            if (std::abs(proj[i][0] - cm) > 3.4) continue;
            ++inside;
            const LonLat p = TDatumTool::UTMToGeographic(z.zone, z.north, points[i].first,
                                                         points[i].second, ell);
            const double d = Metres(p.longitude, p.latitude, proj[i][0], proj[i][1], ell);
            EXPECT_LT(d, 1e-3) << "zone " << z.zone << (z.north ? "N" : "S") << " E "
                               << points[i].first << " N " << points[i].second;
            if (d > worst) {
                worst = d;
                worstWhere = "zone " + std::to_string(z.zone) + " E " + Num(points[i].first) +
                             " N " + Num(points[i].second);
            }
        }
        EXPECT_GT(inside, 300) << "too few points inside zone " << z.zone;
    }
    Report("utm_inverse_max_error_m", worst);
    std::cout << "[ measured ] at " << worstWhere << "\n";
}

TEST(DatumTool, Wgs84GeographicInputPassesThroughBitForBit) {
    const TDatumTool tool = MakeTool(kWgs1984Datum);
    const double values[][2] = {{-0.0, -0.0}, {0.1, 0.2}, {-179.99999999999997, 89.999999999},
                                {151.20514, -33.87729}, {1e-300, -1e-300}};
    for (const auto& v : values) {
        const LonLat p = tool.ConvertToWGS84(v[0], v[1]);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(p.longitude), std::bit_cast<std::uint64_t>(v[0]));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(p.latitude), std::bit_cast<std::uint64_t>(v[1]));
    }
}

TEST(DatumTool, Wgs72GeographicInputMovesByEllipsoidTermsOnly) {
    const TDatumTool tool = MakeTool(218);
    ASSERT_EQ(GetDatum(218).dx, 0);
    const LonLat northern = tool.ConvertToWGS84(-40, 45);
    const LonLat southern = tool.ConvertToWGS84(-40, -45);
    // No translation, so the longitude cannot move; the flattening does move the latitude.
    EXPECT_EQ(northern.longitude, -40);
    EXPECT_NE(northern.latitude, 45);
    EXPECT_LT(std::abs(northern.latitude - 45), 1e-5);  // well under a metre
    EXPECT_NEAR(southern.latitude + 45, -(northern.latitude - 45), 1e-12);
    EXPECT_EQ(tool.ConvertToWGS84(-40, 0).latitude, 0);
}

TEST(DatumTool, UtmOnOtherDatumUsesOwnEllipsoidThenTheGeographicShift) {
    for (int datum : {133, 64, 31, 152, 209}) {
        const int zone = datum == 31 ? 55 : 32;
        const bool north = datum != 31;
        const TDatumTool utm = MakeTool(datum, false, zone, north);
        const TDatumTool geographic = MakeTool(datum);
        const DatumParams own = EllipsoidParams(GetDatum(datum).ellipsoid);
        const LonLat local = TDatumTool::UTMToGeographic(zone, north, 612345, 4567890, own);
        const LonLat expected = geographic.ConvertToWGS84(local.longitude, local.latitude);
        const LonLat viaConvert = utm.ConvertToWGS84(612345, 4567890);
        const LonLat viaShifted = utm.UTMToGeographicShifted(zone, north, 612345, 4567890);
        EXPECT_EQ(viaConvert.longitude, expected.longitude) << "datum " << datum;
        EXPECT_EQ(viaConvert.latitude, expected.latitude) << "datum " << datum;
        EXPECT_EQ(viaShifted.longitude, expected.longitude) << "datum " << datum;
        EXPECT_EQ(viaShifted.latitude, expected.latitude) << "datum " << datum;
        EXPECT_GT(Metres(local.longitude, local.latitude, expected.longitude, expected.latitude, own), 1)
            << "datum " << datum << " was not shifted";
    }
    const TDatumTool wgs84 = MakeTool(kWgs1984Datum, false, 56, false);
    const LonLat p = wgs84.ConvertToWGS84(334000, 6250000);
    const LonLat series = TDatumTool::UTMToGeographic(56, false, 334000, 6250000,
                                                      EllipsoidParams(kWgs84Ellipsoid));
    EXPECT_EQ(p.longitude, series.longitude);
    EXPECT_EQ(p.latitude, series.latitude);
}

TEST(Molodensky, MatchesProjForEveryDatum) {
    const Ellipsoid wgs84 = GetEllipsoid(kWgs84Ellipsoid);
    const double points[][3] = {{-120, 10, 0}, {-75, 38, 0}, {2, 48, 0}, {35, 60, 1500},
                                {140, 35, 0}, {25, -30, -200}, {151, -34, 0}};
    double worstAngle = 0, worstHeight = 0;
    for (int d = 1; d <= kDatumCount; ++d) {
        const Datum datum = GetDatum(d);
        const Ellipsoid source = GetEllipsoid(datum.ellipsoid);
        const TDatumTool tool = MakeTool(d);
        std::vector<std::string> lines;
        for (const auto& p : points) lines.push_back(Num(p[0]) + " " + Num(p[1]) + " " + Num(p[2]) + " 0");
        // cct reads and writes longitude, latitude (degrees), height, time.
        const std::vector<Row> proj = RunProj(
            "cct", "-d 12 +proj=molodensky " + EllipsoidArgs(datum.ellipsoid) + " +da=" +
                       Num(wgs84.a - source.a) + " +df=" + Num(wgs84.f - source.f) + " +dx=" +
                       Num(datum.dx) + " +dy=" + Num(datum.dy) + " +dz=" + Num(datum.dz), lines);
        ASSERT_EQ(proj.size(), std::size(points)) << "datum " << d;
        for (std::size_t i = 0; i < proj.size(); ++i) {
            ASSERT_GE(proj[i].size(), 3u);
            const GeodeticPoint g = tool.MolodenskyShift(points[i][1], points[i][0], points[i][2]);
            EXPECT_NEAR(g.longitude, proj[i][0], 1e-9) << "datum " << d << " point " << i;
            EXPECT_NEAR(g.latitude, proj[i][1], 1e-9) << "datum " << d << " point " << i;
            EXPECT_NEAR(g.height, proj[i][2], 1e-6) << "datum " << d << " point " << i;
            worstAngle = std::max({worstAngle, std::abs(g.longitude - proj[i][0]),
                                   std::abs(g.latitude - proj[i][1])});
            worstHeight = std::max(worstHeight, std::abs(g.height - proj[i][2]));
        }
    }
    Report("molodensky_max_error_deg", worstAngle);
    Report("molodensky_max_height_error_m", worstHeight);
}

TEST(DatumTool, UtmChainMatchesProjHelmertWithinTenCentimetres) {
    struct Region { int datum; int firstZone, lastZone; bool north; double nFrom, nTo; };
    const Region regions[] = {
        {133, 10, 19, true, 3.0e6, 5.3e6},   // NAD27, conterminous US
        {64, 31, 33, true, 4.0e6, 6.5e6},    // ED50, western Europe
        {31, 54, 56, false, 5.9e6, 8.6e6},   // AGD66, eastern Australia
        {152, 30, 30, true, 5.5e6, 6.2e6},   // OSGB36, England
        {209, 53, 54, true, 3.4e6, 4.9e6},   // Tokyo, Japan
    };
    for (const Region& r : regions) {
        const Datum datum = GetDatum(r.datum);
        const DatumParams own = EllipsoidParams(datum.ellipsoid);
        double worst = 0;
        for (int zone = r.firstZone; zone <= r.lastZone; ++zone) {
            const TDatumTool tool = MakeTool(r.datum, false, zone, r.north);
            std::vector<std::string> lines;
            std::vector<std::pair<double, double>> points;
            for (double n = r.nFrom; n <= r.nTo + 1; n += (r.nTo - r.nFrom) / 4) {
                for (double e = 250000; e <= 750000; e += 125000) {
                    points.emplace_back(e, n);
                    lines.push_back(Num(e) + " " + Num(n));
                }
            }
            const std::vector<Row> proj = RunProj(
                "cs2cs", "-f %.12f " + UtmArgs(zone, r.north, datum.ellipsoid) + " +towgs84=" +
                             Num(datum.dx) + "," + Num(datum.dy) + "," + Num(datum.dz) +
                             " +to +proj=longlat +datum=WGS84", lines);
            ASSERT_EQ(proj.size(), points.size());
            for (std::size_t i = 0; i < points.size(); ++i) {
                ASSERT_GE(proj[i].size(), 2u);
                const LonLat p = tool.ConvertToWGS84(points[i].first, points[i].second);
                const double d = Metres(p.longitude, p.latitude, proj[i][0], proj[i][1], own);
                EXPECT_LT(d, 0.10) << "datum " << r.datum << " zone " << zone << " E "
                                   << points[i].first << " N " << points[i].second;
                worst = std::max(worst, d);
            }
        }
        Report("utm_chain_max_error_m_datum_" + std::to_string(r.datum), worst);
    }
}

}  // namespace
}  // namespace tessaly
