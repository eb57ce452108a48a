#include "input/datum_catalogue.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(DatumCatalogue, NumbersOutsideTheCatalogueGiveWgs84) {
    for (int n : {0, 222, -5}) {
        const Datum d = GetDatum(n);
        EXPECT_EQ(d.name, "WGS 1984");
        EXPECT_EQ(d.region, "Global Definition");
        EXPECT_EQ(d.ellipsoid, 23);
        EXPECT_EQ(d.dx, 0);
        EXPECT_EQ(d.dy, 0);
        EXPECT_EQ(d.dz, 0);
    }
    for (int n : {0, 24}) {
        const Ellipsoid e = GetEllipsoid(n);
        EXPECT_EQ(e.name, "WGS 84");
        EXPECT_EQ(e.a, 6378137);
        EXPECT_EQ(e.f, 1 / 298.2572236);
    }
}

TEST(DatumCatalogue, EntriesAsListed) {
    const Datum nad27 = GetDatum(133);
    EXPECT_EQ(nad27.name, "North American 1927");
    EXPECT_EQ(nad27.region, "MEAN FOR CONUS");
    EXPECT_EQ(nad27.ellipsoid, 6);
    EXPECT_EQ(nad27.dx, -8);
    EXPECT_EQ(nad27.dy, 160);
    EXPECT_EQ(nad27.dz, 176);
    EXPECT_EQ(GetDatum(79).region, "\"Croatia -Serbia, Bosnia-Herzegovina");
    EXPECT_EQ(GetDatum(88).region, "Vietnam (Near 16\xC2\xB0N)");  // a degree sign, in UTF-8
    EXPECT_EQ(GetDatum(221).name, "Zanderij");
    EXPECT_EQ(GetEllipsoid(20).f, 1 / 298.2572221);  // GRS 80, not WGS 84
    EXPECT_EQ(GetEllipsoid(1).a, 6377563.396);
    EXPECT_EQ(DatumEllipsoidName(152), "Airy 1830");
    EXPECT_EQ(DatumEllipsoidName(219), "WGS 84");
}

TEST(DatumCatalogue, FillsTheDropDownLists) {
    std::vector<std::string> datums = {"left over"};
    FillDatums(datums);
    ASSERT_EQ(datums.size(), 221u);
    EXPECT_EQ(datums[0], "Adindan Burkina Faso");
    EXPECT_EQ(datums[218], "WGS 1984 Global Definition");
    EXPECT_EQ(datums[220], "Zanderij Suriname");

    std::vector<std::string> zones;
    FillUTMZones(zones);
    ASSERT_EQ(zones.size(), 60u);
    EXPECT_EQ(zones.front(), "Zone 1");
    EXPECT_EQ(zones[13], "Zone 14");
    EXPECT_EQ(zones.back(), "Zone 60");
}

TEST(DatumCatalogue, EllipsoidShape) {
    const Ellipsoid e = GetEllipsoid(23);
    EXPECT_NEAR(SemiMinorAxis(e.a, e.f), 6356752.3142, 1e-4);
    EXPECT_NEAR(EccentricitySquared(e.f), 0.00669437999, 1e-11);
}

}  // namespace
}  // namespace tessaly
