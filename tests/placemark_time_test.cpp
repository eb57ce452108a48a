// Placemark times from date, text and number fields, written by the converter
// where the KML schema wants them and read back by GDAL.

#include "input/time_fields.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <regex>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::ReadText;
using test::RunCommand;
using test::RunConverter;
using test::TempDir;

// Four points whose table holds times in every kind of field, good and bad.
fs::path MadeShapefile(const TempDir& dir) {
    test::ShpBuilder b(1);
    for (int i = 0; i < 4; ++i) b.AddPoint(i, i);
    test::WriteBytes(dir / "times.shp", b.Bytes());
    DBFHandle h = DBFCreate((dir / "times.dbf").c_str());
    DBFAddField(h, "WHEN", FTString, 25, 0);
    DBFAddField(h, "YEAR", FTInteger, 4, 0);
    DBFAddField(h, "DAY", FTDate, 8, 0);
    DBFAddField(h, "UNTIL", FTString, 25, 0);
    const char* rows[4][4] = {
        {"2013-01-02T10:20:30+02:00", "2013", "20130102", "2014-06"},
        {"not a date", "5", "", "2019-13-45"},
        {"", "", "20200229", ""},
        {"2019-13-45", "1999", "20200101", "2021-01-02 03:04:05"},
    };
    for (int row = 0; row < 4; ++row)
        for (int field = 0; field < 4; ++field)
            if (*rows[row][field] == '\0') DBFWriteNULLAttribute(h, row, field);
            else if (field == 1) DBFWriteIntegerAttribute(h, row, field, std::stoi(rows[row][field]));
            else DBFWriteAttributeDirectly(h, row, field, std::string(rows[row][field]).data());
    DBFClose(h);
    return dir / "times.shp";
}

std::vector<std::string> Placemarks(const std::string& document) {
    static const std::regex placemark("<Placemark>.*?</Placemark>");
    std::vector<std::string> found;
    for (std::sregex_iterator it(document.begin(), document.end(), placemark), end; it != end; ++it)
        found.push_back(it->str());
    return found;
}

// Each placemark's time element, in the order written; "" for none.
std::vector<std::string> Times(const std::string& document) {
    static const std::regex time("<Time(Stamp|Span)>.*</Time(Stamp|Span)>");
    std::vector<std::string> times;
    for (const std::string& p : Placemarks(document)) {
        std::smatch m;
        times.push_back(std::regex_search(p, m, time) ? m.str() : "");
    }
    return times;
}

// The document's placemarks, alone in a KML 2.2 document, against the schema.
bool PlacemarksValidate(const TempDir& dir, const std::string& document) {
    std::string kml = "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document>";
    for (const std::string& p : Placemarks(document)) kml += p;
    kml += "</Document></kml>";
    test::WriteBytes(dir / "check.kml", std::vector<unsigned char>(kml.begin(), kml.end()));
    const auto r = RunCommand("xmllint --noout --schema " + Quote(test::SharedData("../schemas/kml-2.2/kml22gx.xsd")) +
                              " " + Quote(dir / "check.kml") + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.output;
    return r.status == 0;
}

TEST(PlacemarkTime, EveryFieldKindGivesTimesAndUnreadableValuesAreCounted) {
    TempDir dir;
    const fs::path shp = MadeShapefile(dir);
    const fs::path kml = dir / "times.kml";
    // Relative heights: altitude modes that both KML versions name alike.
    const std::string convert = Quote(shp) + " -o " + Quote(kml) + " --label '' --altitude relative ";

    auto r = RunConverter(convert + "--time WHEN -q");
    ASSERT_EQ(r.status, 0) << r.output;
    std::string doc = ReadText(kml);
    EXPECT_EQ(Times(doc), (std::vector<std::string>{"<TimeStamp><when>2013-01-02T10:20:30+02:00</when></TimeStamp>", "", "", ""}));
    EXPECT_NE(r.output.find("field \"WHEN\": 2 values that are neither a date, a date and time nor a year left without a "
                            "time (the first is \"not a date\")"),
              std::string::npos)
        << r.output;
    EXPECT_TRUE(PlacemarksValidate(dir, doc));
    const auto back = RunCommand("ogrinfo -ro -al " + Quote(kml) + " 2>/dev/null");
    EXPECT_NE(back.output.find("timestamp (DateTime) = 2013/01/02 10:20:30+02"), std::string::npos) << back.output;

    ASSERT_EQ(RunConverter(convert + "--time YEAR -q").status, 0);
    EXPECT_EQ(Times(ReadText(kml)), (std::vector<std::string>{"<TimeStamp><when>2013</when></TimeStamp>",
                                                             "<TimeStamp><when>0005</when></TimeStamp>", "",
                                                             "<TimeStamp><when>1999</when></TimeStamp>"}));

    r = RunConverter(convert + "--time-span DAY,UNTIL -q");
    ASSERT_EQ(r.status, 0) << r.output;
    doc = ReadText(kml);
    EXPECT_EQ(Times(doc), (std::vector<std::string>{
                              "<TimeSpan><begin>2013-01-02</begin><end>2014-06</end></TimeSpan>", "",
                              "<TimeSpan><begin>2020-02-29</begin></TimeSpan>",
                              "<TimeSpan><begin>2020-01-01</begin><end>2021-01-02T03:04:05</end></TimeSpan>"}));
    EXPECT_NE(r.output.find("field \"UNTIL\": 1 value that is"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("field \"DAY\""), std::string::npos) << "a missing date is no fault: " << r.output;
    EXPECT_TRUE(PlacemarksValidate(dir, doc));
    const auto span = RunCommand("ogrinfo -ro -al " + Quote(kml) + " 2>/dev/null");
    EXPECT_NE(span.output.find("end (DateTime) = 2021/01/02 03:04:05"), std::string::npos) << span.output;

    ASSERT_EQ(RunConverter(convert + "--time-span DAY -q").status, 0);
    EXPECT_EQ(Times(ReadText(kml))[0], "<TimeSpan><begin>2013-01-02</begin></TimeSpan>");
}

TEST(PlacemarkTime, DateFieldOfARealShapefile) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("shapefile-js/date-property");
    ASSERT_EQ(RunConverter(Quote(shp) + " --label '' --altitude relative --time date -q").status, 0);
    const std::string doc = ReadText(dir / "date-property.kml");
    EXPECT_EQ(Times(doc), (std::vector<std::string>{"<TimeStamp><when>2013-01-02</when></TimeStamp>",
                                                   "<TimeStamp><when>2013-02-02</when></TimeStamp>",
                                                   "<TimeStamp><when>2013-01-03</when></TimeStamp>"}));
    EXPECT_TRUE(PlacemarksValidate(dir, doc));
}

TEST(PlacemarkTime, ConflictingOptionsAndUnknownFieldsAreUsageErrors) {
    TempDir dir;
    const std::string convert = Quote(MadeShapefile(dir)) + " -q ";
    auto r = RunConverter(convert + "--time WHEN --time-span DAY");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("--time and --time-span"), std::string::npos) << r.output;
    r = RunConverter(convert + "--time-span DAY,LATER");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("\"LATER\""), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir / "times.kml"));
}

TEST(PlacemarkTime, OffersOnlyFieldsThatHoldTimesAndTellsTheirRange) {
    TempDir dir;
    const std::string table = (dir / "times.dbf").string();
    MadeShapefile(dir);
    EXPECT_EQ(TimeFields(table), (std::vector<std::string>{"YEAR", "DAY"}));
    // The first value that is not empty decides when the sample is one value.
    EXPECT_EQ(TimeFields(table, 1), (std::vector<std::string>{"WHEN", "YEAR", "DAY", "UNTIL"}));

    const DbfTable t(table);
    const TimeColumn begin = ReadTimeColumn(t, t.FieldIndex("DAY"));
    const TimeColumn end = ReadTimeColumn(t, t.FieldIndex("UNTIL"));
    const TimeRange range = RangeOf({&begin, &end});
    ASSERT_TRUE(range.earliest && range.latest);
    EXPECT_EQ(KmlTime(*range.earliest), "2013-01-02");
    EXPECT_EQ(KmlTime(*range.latest), "2021-01-02T03:04:05");
}

}  // namespace
}  // namespace tessaly
