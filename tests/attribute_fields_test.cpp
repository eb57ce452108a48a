#include "input/attribute_fields.h"
#include "input/dbf_table.h"
#include "input/letter_case.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace tessaly {
namespace {

using test::TempDir;

// A table of one character field "V" holding the given values, one row each;
// rows listed in `deleted` (0-based) are marked as deleted.
std::string MakeTextTable(const TempDir& dir, const std::vector<std::string>& values,
                          const std::set<int>& deleted = {}) {
    const std::string path = (dir / "values.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "V", FTString, 20, 0);
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        DBFWriteStringAttribute(h, i, 0, values[static_cast<std::size_t>(i)].c_str());
        if (deleted.count(i)) DBFMarkRecordDeleted(h, i, 1);
    }
    DBFClose(h);
    return path;
}

// A table of two numeric fields A and B.
std::string MakeNumberTable(const TempDir& dir, const std::vector<std::pair<double, double>>& rows) {
    const std::string path = (dir / "numbers.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "A", FTDouble, 12, 3);
    DBFAddField(h, "B", FTDouble, 12, 3);
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        DBFWriteDoubleAttribute(h, i, 0, rows[static_cast<std::size_t>(i)].first);
        DBFWriteDoubleAttribute(h, i, 1, rows[static_cast<std::size_t>(i)].second);
    }
    DBFClose(h);
    return path;
}

TEST(AttributeFields, ListsFieldsByKind) {
    TempDir dir;
    const std::string path = (dir / "kinds.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddNativeFieldType(h, "NAME", 'C', 20, 0);
    DBFAddNativeFieldType(h, "POP", 'N', 10, 0);
    DBFAddNativeFieldType(h, "FLAG", 'L', 1, 0);
    DBFAddNativeFieldType(h, "DATE1", 'D', 8, 0);
    DBFAddNativeFieldType(h, "RATE", 'F', 12, 4);
    DBFClose(h);

    using V = std::vector<std::string>;
    EXPECT_EQ(ListFields(path, kTextFields), (V{"NAME", "DATE1"}));
    EXPECT_EQ(ListFields(path, kNumericFields), (V{"POP", "RATE"}));
    EXPECT_EQ(ListFields(path, kTextAndNumericFields), (V{"NAME", "POP", "DATE1", "RATE"}));
    EXPECT_EQ(ListFields(path, kAllFields), (V{"NAME", "POP", "FLAG", "DATE1", "RATE"}));
    EXPECT_TRUE(IsNumericField(path, "POP"));
    EXPECT_FALSE(IsNumericField(path, "NAME"));
    EXPECT_FALSE(IsNumericField(path, "FLAG"));
    EXPECT_FALSE(IsNumericField(path, "MISSING"));
}

TEST(AttributeFields, KindsOfRealTables) {
    TempDir dir;
    auto kindOf = [&](const std::string& base) {
        const DbfTable table(dir.CopyShared(base).replace_extension(".dbf").string());
        return table.Fields().at(0).kind;
    };
    EXPECT_EQ(kindOf("shapefile-js/boolean-property"), FieldKind::Other);
    EXPECT_EQ(kindOf("shapefile-js/date-property"), FieldKind::Text);
    EXPECT_EQ(kindOf("shapefile-js/number-property"), FieldKind::Numeric);
    EXPECT_EQ(kindOf("shapefile-js/string-property"), FieldKind::Text);
}

TEST(AttributeFields, UniqueValuesAreExactAndSortedIgnoringCase) {
    TempDir dir;
    const std::string path = MakeTextTable(dir, {"b", "A", "a", "10", "9", "b", "A"});
    EXPECT_EQ(UniqueValues(path, "V", 5000), (std::vector<std::string>{"10", "9", "A", "a", "b"}));
}

TEST(AttributeFields, UniqueValuesOfANumericFieldSortAsNumbers) {
    TempDir dir;
    const std::string path = (dir / "counts.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddNativeFieldType(h, "N", 'N', 8, 2);
    const double values[] = {110, 17, 109.5, 128, 18, 17, -2};
    for (int i = 0; i < 7; ++i) DBFWriteDoubleAttribute(h, i, 0, values[i]);
    DBFWriteNULLAttribute(h, 7, 0);
    DBFClose(h);
    EXPECT_EQ(UniqueValues(path, "N", 5000),
              (std::vector<std::string>{"", "-2", "17", "18", "109.5", "110", "128"}));
}

TEST(AttributeFields, UniqueValuesStopOneBeyondTheCap) {
    TempDir dir;
    const std::string path = MakeTextTable(dir, {"d", "a", "c", "b", "e"});
    // The first cap + 1 distinct values met, then sorted.
    EXPECT_EQ(UniqueValues(path, "V", 2), (std::vector<std::string>{"a", "c", "d"}));
}

TEST(AttributeFields, DeletedRowsAreNotPartOfTheTable) {
    TempDir dir;
    const std::string path = MakeTextTable(dir, {"keep", "gone", "also"}, {1});
    EXPECT_EQ(UniqueValues(path, "V", 5000), (std::vector<std::string>{"also", "keep"}));
}

TEST(AttributeFields, EveryCountyNameFindsItselfAmongTheUniqueValues) {
    TempDir dir;
    const std::string path = dir.CopyShared("us-atlas/counties").replace_extension(".dbf").string();
    const std::vector<std::string> values = UniqueValues(path, "name", 5000);
    ASSERT_GT(values.size(), 1000u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end(), LessIgnoringCase));
    EXPECT_EQ(std::set<std::string>(values.begin(), values.end()).size(), values.size());
    const DbfTable table(path);
    const std::set<std::string> all(values.begin(), values.end());
    for (int row = 0; row < table.RecordCount(); ++row)
        ASSERT_TRUE(all.count(table.Text(row, 1))) << table.Text(row, 1);
}

TEST(AttributeFields, RatioOfAZeroNormaliserCountsAsZero) {
    TempDir dir;
    const std::string path = MakeNumberTable(dir, {{10, 2}, {5, 0}, {9, 3}});
    const ValueRange r = RatioMinMax(path, "A", "B");
    EXPECT_DOUBLE_EQ(r.minimum, 0);
    EXPECT_DOUBLE_EQ(r.maximum, 5);
    const ValueRange f = FieldMinMax(path, "A");
    EXPECT_DOUBLE_EQ(f.minimum, 5);
    EXPECT_DOUBLE_EQ(f.maximum, 10);
}

TEST(AttributeFields, NumberColumnTellsEmptyValuesApart) {
    TempDir dir;
    const std::string path = (dir / "gaps.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddNativeFieldType(h, "N", 'N', 6, 1);
    DBFWriteDoubleAttribute(h, 0, 0, 2.5);
    char blank[] = "      ";
    DBFWriteAttributeDirectly(h, 1, 0, blank);     // blank
    DBFWriteNULLAttribute(h, 2, 0);                // asterisks, as dBase writes a missing number
    DBFWriteDoubleAttribute(h, 3, 0, 0);
    DBFWriteDoubleAttribute(h, 4, 0, -1);
    DBFMarkRecordDeleted(h, 4, 1);
    DBFClose(h);

    const NumberColumn c = ReadNumberColumn(path, "N");
    ASSERT_EQ(c.values.size(), 4u);
    EXPECT_EQ(c.values[0], 2.5);
    EXPECT_TRUE(std::isnan(c.values[1]));
    EXPECT_TRUE(std::isnan(c.values[2]));
    EXPECT_EQ(c.values[3], 0.0);
    EXPECT_EQ(c.emptyCount, 2);
}

TEST(AttributeFields, StatisticsLines) {
    TempDir dir;
    const std::string path = MakeNumberTable(dir, {{2, 0}, {3.5, 0}, {7, 0}});
    EXPECT_EQ(FieldStatistics(path, "A"),
              (std::vector<std::string>{"Minimum: 2.00000", "Maximum: 7.00000", "Total  : 12.50000",
                                        "Average: 4.16667", "Count  : 3"}));
    EXPECT_EQ(FieldStatistics(path, "NOPE"), (std::vector<std::string>{"Field not found"}));

    TempDir empty;
    const std::string none = MakeNumberTable(empty, {});
    const std::vector<std::string> lines = FieldStatistics(none, "A");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "Total  : 0.00000");
    EXPECT_EQ(lines[3], "Count  : 0");
}

TEST(AttributeFields, StatisticsAgreeWithGdalOnBlockGroups) {
    TempDir dir;
    const auto shp = dir.CopyShared("pyshp/blockgroups");
    const std::string dbf = std::filesystem::path(shp).replace_extension(".dbf").string();
    const auto gdal = test::RunCommand("ogrinfo -q -sql \"SELECT SUM(POP1990), MIN(POP1990), MAX(POP1990), "
                                       "COUNT(POP1990) FROM blockgroups\" '" + shp.string() + "' 2>&1");
    ASSERT_EQ(gdal.status, 0) << gdal.output;
    auto gdalValue = [&](const std::string& key) {
        const std::size_t at = gdal.output.find(key);
        EXPECT_NE(at, std::string::npos) << gdal.output;
        return at == std::string::npos ? -1.0 : std::stod(gdal.output.substr(gdal.output.find('=', at) + 1));
    };
    const std::vector<std::string> lines = FieldStatistics(dbf, "POP1990");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_DOUBLE_EQ(std::stod(lines[0].substr(9)), gdalValue("MIN_POP1990"));
    EXPECT_DOUBLE_EQ(std::stod(lines[1].substr(9)), gdalValue("MAX_POP1990"));
    EXPECT_DOUBLE_EQ(std::stod(lines[2].substr(9)), gdalValue("SUM_POP1990"));
    EXPECT_DOUBLE_EQ(std::stod(lines[4].substr(9)), gdalValue("COUNT_POP1990"));
}

TEST(DbfTable, DecodesEachTableFromItsCodePage) {
    TempDir dir;
    {
        // No .cpg and no language byte: Windows-1252.
        const DbfTable t(dir.CopyShared("pyshp/latin1").replace_extension(".dbf").string());
        EXPECT_EQ(t.Text(0, t.RequireField("Name")), "\xC3\x91" "and\xC3\xBA");  // Ñandú
    }
    {
        // Language byte 0x57, ANSI.
        const DbfTable t(dir.CopyShared("shapefile-js/latin1-property").replace_extension(".dbf").string());
        EXPECT_EQ(t.Text(0, 0), "M\xC3\xA9xico");  // México
    }
    {
        // A .cpg file saying UTF-8; the field name itself is not ASCII.
        const DbfTable t(dir.CopyShared("shapefile-js/utf8-property").replace_extension(".dbf").string());
        EXPECT_EQ(t.Decoder().Name(), "UTF-8");
        EXPECT_EQ(t.Fields().at(0).name, "\xE2\x98\x83");  // the snowman
        EXPECT_EQ(t.Text(0, 0), "\xCE\xB7\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xBF \xCF\x82\xCE\xBF\xCF\x81\xCE\xBB\xCE\xB4");
    }
}

TEST(DbfTable, NumbersAndDatesReadAsTheirValues) {
    TempDir dir;
    const DbfTable bg(dir.CopyShared("pyshp/blockgroups").replace_extension(".dbf").string());
    EXPECT_EQ(bg.Text(0, bg.RequireField("AREA")), "0.96761");
    EXPECT_EQ(bg.Text(0, bg.RequireField("BKG_KEY")), "060750179029");  // a code, leading zero kept
    EXPECT_EQ(bg.Text(0, bg.RequireField("POP90_SQMI")), "4682.7");
    EXPECT_DOUBLE_EQ(bg.Number(0, bg.RequireField("POP1990")), 4531);

    const DbfTable np(dir.CopyShared("shapefile-js/number-property").replace_extension(".dbf").string());
    EXPECT_EQ(np.Text(0, 0), "");  // stored as asterisks
    EXPECT_DOUBLE_EQ(np.Number(0, 0), 0);
    EXPECT_EQ(np.Text(1, 0), "42");
    EXPECT_EQ(np.Text(2, 0), "-4");

    const DbfTable dates(dir.CopyShared("shapefile-js/date-property").replace_extension(".dbf").string());
    EXPECT_EQ(dates.Text(0, 0), "2013-01-02");
}

TEST(DbfTable, FieldsAreFoundByExactNameFirstThenIgnoringCase) {
    TempDir dir;
    const DbfTable t(dir.CopyShared("us-atlas/states").replace_extension(".dbf").string());
    EXPECT_EQ(t.FieldIndex("name"), 1);
    EXPECT_EQ(t.FieldIndex("NAME"), 1);
    EXPECT_EQ(t.FieldIndex("nam"), -1);
    try {
        t.RequireField("POP");
        FAIL() << "a missing field was accepted";
    } catch (const TableError& e) {
        EXPECT_NE(std::string(e.what()).find("POP"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("states.dbf"), std::string::npos);
    }
}

TEST(DbfTable, RefusesFilesThatAreNotTablesNamingThem) {
    TempDir dir;
    const auto shp = dir.CopyShared("shapefile-js/points");
    std::filesystem::copy_file(shp, dir / "geometry.dbf");
    std::filesystem::create_directory(dir / "folder.dbf");
    for (const std::string& path : {(dir / "absent.dbf").string(), shp.string(),
                                    (dir / "geometry.dbf").string(), (dir / "folder.dbf").string()}) {
        try {
            DbfTable t(path);
            FAIL() << path << " was opened as a table";
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace tessaly
