// Every field as KML data: the fields as GDAL reads them back, with their types,
// from documents written from real files.

#include "engine/attribute_data.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using test::Quote;
using test::RunCommand;
using test::RunConverter;
using test::TempDir;

TEST(AttributeData, NamesAndValuesAreEscapedAndEmptyOrUnknownValuesLeftOut) {
    const std::vector<DataField> fields = {{0, "A\"B", "string"}, {1, "OK", "bool"}, {2, "N", "int"}};
    std::string out;
    const std::string_view values[] = {"x<y", "?", ""};
    DataMarkup(fields, "").Append(out, values);
    EXPECT_EQ(out, "<ExtendedData><SchemaData schemaUrl=\"#tessaly_data\"><SimpleData name=\"A&quot;B\">x&lt;y"
                   "</SimpleData></SchemaData></ExtendedData>");
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// `ogrinfo -al` of the document written with --data.
std::string ReadBack(const TempDir& dir, const std::string& base, const std::string& options) {
    const auto shp = dir.CopyShared(base);
    const auto kml = dir / (shp.stem().string() + ".kml");
    const auto run = RunConverter(Quote(shp) + " --data -q --label '' -o " + Quote(kml) + " " + options);
    EXPECT_EQ(run.status, 0) << run.output;
    const std::string doc = test::ReadText(kml);
    // One Schema, before the first feature.
    EXPECT_EQ(doc.find("<Schema "), doc.rfind("<Schema "));
    EXPECT_LT(doc.find("<Schema "), doc.find("<Placemark>"));
    const auto gdal = RunCommand("ogrinfo -ro -al " + Quote(kml) + " 2>&1");
    EXPECT_EQ(gdal.status, 0) << gdal.output;
    return gdal.output;
}

TEST(AttributeData, GdalReadsTheFieldsBackWithTheirTypes) {
    TempDir dir;
    const std::string bg = ReadBack(dir, "pyshp/blockgroups", "--unique MEDIANRENT --folders");
    for (const char* expected : {"POP1990 (Integer) = 4531", "AREA (Real) = 0.96761",
                                 "BKG_KEY (String) = 060750179029", "POP90_SQMI (Real) = 4682.7"})
        EXPECT_NE(bg.find(expected), std::string::npos) << expected;
    EXPECT_EQ(bg.find("ZID_SHX"), std::string::npos);

    const std::string dates = ReadBack(dir, "shapefile-js/date-property", "");
    EXPECT_NE(dates.find("date (String) = 2013-01-02"), std::string::npos) << dates;
    // GDAL reads a bool as an integer; the unknown "?" of the first row is no value.
    const std::string logical = ReadBack(dir, "shapefile-js/boolean-property", "");
    EXPECT_EQ(Count(logical, "foo (Integer) = 1"), 4) << logical;
    EXPECT_EQ(Count(logical, "foo (Integer) = 0"), 4) << logical;
    // Empty values are left out; a 10-digit number is a double.
    const std::string mixed = ReadBack(dir, "shapefile-js/mixed-properties", "");
    EXPECT_EQ(Count(mixed, "foo ("), 1) << mixed;
    EXPECT_EQ(Count(mixed, "foo (Real) = 42"), 1) << mixed;
    EXPECT_EQ(Count(mixed, "bar ("), 1) << mixed;
    EXPECT_EQ(Count(mixed, "bar (String) = blue"), 1) << mixed;
}

}  // namespace
}  // namespace tessaly
