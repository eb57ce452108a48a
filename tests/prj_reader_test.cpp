// Reading coordinate systems: the datum table, the real .prj files, and files
// that are not coordinate systems.

#include "input/prj_datum_table.h"
#include "input/prj_reader.h"
#include "input/proj_context.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tessaly {
namespace {

using test::TempDir;

TEST(PrjDatumTable, MapsEpsgCodesAndNamesToTheFamilyMean) {
    const struct {
        DatumIdentity datum;
        int catalogue;
    } cases[] = {
        {{"EPSG", "6326", ""}, 219},  {{"EPSG", "6322", ""}, 218},  {{"EPSG", "6267", ""}, 133},
        {{"EPSG", "6269", ""}, 140},  {{"EPSG", "6230", ""}, 64},   {{"EPSG", "6277", ""}, 154},
        {{"EPSG", "6202", ""}, 31},   {{"EPSG", "6203", ""}, 32},   {{"EPSG", "6301", ""}, 210},
        {{"EPSG", "6618", ""}, 200},  {{"EPSG", "6284", ""}, 173},  {{"EPSG", "6210", ""}, 23},
        {{"EPSG", "6272", ""}, 73},   {{"EPSG", "6299", ""}, 91},   {{"EPSG", "6738", ""}, 81},
        // ESRI's names, and PROJ's, without codes
        {{"", "", "D_North_American_1927"}, 133},
        {{"", "", "D_OSGB_1936"}, 154},
        {{"", "", "D_WGS_1984"}, 219},
        {{"", "", "South American Datum 1969"}, 200},
        {{"", "", "D_Hong_Kong_1963"}, 81},
        {{"", "", "d_new_zealand_1949"}, 73},
        // a code decides over a name; datums the catalogue does not hold
        {{"EPSG", "6258", "D_WGS_1984"}, 0},  // ETRS89
        {{"EPSG", "6152", ""}, 0},            // NAD83(HARN)
        {{"", "", "D_North_American_1983_HARN"}, 0},
        {{"", "", "D_GDA_1994"}, 0},
        {{"", "", ""}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CatalogueDatumOf(c.datum), c.catalogue) << c.datum.code << " " << c.datum.name;
}

TEST(PrjDatumTable, Towgs84ShiftsPickTheRegionalEntry) {
    EXPECT_EQ(CatalogueEntryForShift(133, -8, 160, 176), 133);
    EXPECT_EQ(CatalogueEntryForShift(133, -5, 135, 172), 117);    // Alaska
    EXPECT_EQ(CatalogueEntryForShift(64, -87, -98, -121), 64);   // 65 has the same shifts
    EXPECT_EQ(CatalogueEntryForShift(64, -84, -107, -120), 68);  // Portugal; Spain
    EXPECT_EQ(CatalogueEntryForShift(133, -84, -107, -120), 133);  // another family's shifts
    EXPECT_EQ(CatalogueEntryForShift(154, 446.448, -125.157, 542.06), 154);  // no entry: the mean
}

TEST(PrjReader, RecognisesTheRealFiles) {
    const struct {
        const char* file;
        const char* text;
    } cases[] = {
        {"projected/states_nad27_geographic.prj",
         "longitude/latitude, North American 1927 MEAN FOR CONUS (datum 133), from states_nad27_geographic.prj"},
        {"projected/states_nad27_utm16n.prj",
         "UTM zone 16N, North American 1927 MEAN FOR CONUS (datum 133), from states_nad27_utm16n.prj"},
        {"projected/states_nad83_utm15n.prj",
         "UTM zone 15N, North American 1983 CONUS (datum 140), from states_nad83_utm15n.prj"},
        {"projected/states_conus_albers.prj", "NAD83 / Conus Albers through PROJ, datum 140, from states_conus_albers.prj"},
        {"projected/states_web_mercator.prj",
         "WGS 84 / Pseudo-Mercator through PROJ, datum 219, from states_web_mercator.prj"},
        {"us-atlas/states.prj", "longitude/latitude, WGS 1984 (datum 219), from states.prj"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoordinateSystemText(ReadPrjFile(test::SharedData(c.file).string())), c.text) << c.file;
}

TEST(PrjReader, DefinitionsOfOtherKinds) {
    const struct {
        const char* definition;
        const char* text;
    } cases[] = {
        {"EPSG:2277", "NAD83 / Texas Central (ftUS) through PROJ, datum 140, from --srs"},
        {"EPSG:32756", "UTM zone 56S, WGS 1984 (datum 219), from --srs"},
        {"EPSG:4267", "longitude/latitude, North American 1927 MEAN FOR CONUS (datum 133), from --srs"},
        {"EPSG:25832",
         "ETRS89 / UTM zone 32N through PROJ to WGS 84 (datum European Terrestrial Reference System 1989 is not in "
         "the catalogue), from --srs"},
        {"PROJCS[\"ED50 / UTM zone 30N\",GEOGCS[\"ED50\",DATUM[\"European_Datum_1950\",SPHEROID[\"International "
         "1924\",6378388,297],TOWGS84[-84,-107,-120,0,0,0,0]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\",0.0174532925199433]],"
         "PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"latitude_of_origin\",0],PARAMETER[\"central_meridian\",-3],"
         "PARAMETER[\"scale_factor\",0.9996],PARAMETER[\"false_easting\",500000],PARAMETER[\"false_northing\",0],"
         "UNIT[\"metre\",1]]",
         "UTM zone 30N, European 1950 Portugal; Spain (datum 68), from --srs"},
        // UTM-like but in feet, or with another scale: PROJ converts it
        {"+proj=tmerc +lon_0=-87 +k=0.9996 +x_0=500000 +datum=NAD27 +units=us-ft",
         "unknown through PROJ, datum 133, from --srs"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoordinateSystemText(RecogniseCoordinateSystem(c.definition, "--srs", ", from --srs")), c.text)
            << c.definition;
    const InputCoordinateSystem feet = RecogniseCoordinateSystem("EPSG:2277", "--srs", "");
    EXPECT_EQ(feet.unitName, "US survey foot");
    EXPECT_EQ(feet.definition, "EPSG:2277");
    EXPECT_EQ(ProjectedReadoutText(2296583.3333, -12.345), "X: 2296583.33, Y: -12.35");
}

TEST(PrjReader, FilesThatAreNotCoordinateSystemsAreRefusedByName) {
    TempDir dir;
    const std::string utm = "PROJCS[\"NAD_1927_UTM_Zone_16N\",GEOGCS[\"GCS_North_American_1927\"";
    const struct {
        std::string content;
        const char* reason;
    } cases[] = {
        {"", "the file is empty"},
        {" \r\n", "the file is empty"},
        {utm, "not a coordinate system PROJ can read"},
        {"Lambert, please", "not a coordinate system PROJ can read"},
        {"PROJCS[\"x\",GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,298.257223563]],"
         "PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],PROJECTION[\"Pretty_Curves\"],"
         "UNIT[\"Meter\",1.0]]",
         "PROJ does not know the projection \"Pretty_Curves\""},
        {std::string(70000, '['), "too large for a coordinate system"},
        {"VERTCS[\"NAVD_1988\",VDATUM[\"North_American_Vertical_Datum_1988\"],UNIT[\"Meter\",1.0]]",
         "neither geographic nor projected"},
    };
    const std::string path = (dir / "bad.prj").string();
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary) << c.content;
        try {
            ReadPrjFile(path);
            ADD_FAILURE() << "accepted: " << c.content.substr(0, 60);
        } catch (const CoordinateSystemError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(path + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
}

}  // namespace
}  // namespace tessaly
