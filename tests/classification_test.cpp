#include "symbology/classification.h"
#include "symbology/colour_ramps.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <cmath>
#include <shapefil.h>

namespace tessaly {
namespace {

using test::TempDir;

std::string NumberTable(const TempDir& dir, const std::vector<double>& values, const std::vector<double>& norms = {}) {
    const std::string path = (dir / "t.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "V", FTDouble, 14, 4);
    DBFAddField(h, "N", FTDouble, 14, 4);
    for (int i = 0; i < static_cast<int>(values.size()); ++i) {
        const double v = values[static_cast<std::size_t>(i)];
        if (std::isnan(v)) DBFWriteNULLAttribute(h, i, 0);  // an empty value
        else DBFWriteDoubleAttribute(h, i, 0, v);
        DBFWriteDoubleAttribute(h, i, 1, norms.empty() ? 1 : norms[static_cast<std::size_t>(i)]);
    }
    DBFClose(h);
    return path;
}

class Graduated : public ::testing::Test {
protected:
    std::vector<std::string> Build(const std::string& table, int classes, bool statistics, bool items,
                                   const std::string& norm = "", ClassMethod method = ClassMethod::EqualInterval) {
        GraduatedRequest r;
        r.field = "V";
        r.normField = norm;
        r.classCount = classes;
        r.statistics = statistics;
        r.items = items;
        r.method = method;
        return BuildGraduatedClasses(table, r, bounds, symbols, 3);
    }
    TempDir dir;
    GraduatedBounds bounds;
    TSymbolList symbols;
};

TEST_F(Graduated, EqualWidthClassesWithTheChosenDecimals) {
    const std::string t = NumberTable(dir, {0, 37, 100});
    bounds.Digits = 2;
    EXPECT_EQ(Build(t, 4, true, true),
              (std::vector<std::string>{"0.00 : 25.00", "25.00 : 50.00", "50.00 : 75.00", "75.00 : 100.00"}));
    EXPECT_EQ(symbols.Count(), 4);
    EXPECT_EQ(symbols.Item(3).ValueText, "50.00 : 75.00");
    bounds.Digits = 0;
    EXPECT_EQ(Build(t, 4, false, false).front(), "0 : 25");
}

TEST_F(Graduated, RelabellingKeepsEveryEditedSymbol) {
    const std::string t = NumberTable(dir, {0, 100});
    bounds.Digits = 0;
    Build(t, 4, true, true);
    symbols.Item(2).LineWidth = 9;
    symbols.Item(4).FillColor = 0x123456;
    bounds.Digits = 1;
    const auto texts = Build(t, 4, false, false);
    EXPECT_EQ(texts[1], "25.0 : 50.0");
    EXPECT_EQ(symbols.Item(2).LineWidth, 9);
    EXPECT_EQ(symbols.Item(4).FillColor, 0x123456u);
    // A rebuild with items discards the edits.
    Build(t, 4, false, true);
    EXPECT_NE(symbols.Item(4).FillColor, 0x123456u);
}

TEST_F(Graduated, StatisticsAreKeptUntilTheNextComputation) {
    const std::string t = NumberTable(dir, {10, 20});
    Build(t, 2, true, true);
    EXPECT_EQ(bounds.ClassMin, 10);
    EXPECT_EQ(bounds.ClassMax, 20);
    TempDir other;
    const std::string wide = NumberTable(other, {0, 1000});
    Build(wide, 2, false, true);  // a new class count reuses the statistics
    EXPECT_EQ(bounds.ClassMax, 20);
}

TEST_F(Graduated, AFieldWithoutValuesMakesNoClassesAndChangesNothing) {
    const double empty = std::nan("");
    Build(NumberTable(dir, {10, 20}), 3, true, true);
    TempDir emptyTable, emptyValues;
    const std::string tables[] = {NumberTable(emptyTable, {}), NumberTable(emptyValues, {empty, empty})};
    for (const std::string& t : tables)
        for (ClassMethod method : {ClassMethod::EqualInterval, ClassMethod::Quantile, ClassMethod::NaturalBreaks}) {
            try {
                Build(t, 7, true, true, "", method);
                ADD_FAILURE() << t << " made classes";
            } catch (const NoValuesError& e) {
                EXPECT_STREQ(e.what(), "No values in V");
            }
            EXPECT_EQ(symbols.Count(), 3);
            EXPECT_EQ(bounds.ClassMin, 10);
            EXPECT_EQ(bounds.ClassMax, 20);
        }
}

TEST_F(Graduated, NormalisingByItselfIsNoNormalisation) {
    const std::string t = NumberTable(dir, {10, 40}, {2, 0});
    Build(t, 2, true, true, "V");
    EXPECT_EQ(bounds.ClassMax, 40);
    Build(t, 2, true, true, "N");
    EXPECT_EQ(bounds.ClassMin, 0);  // a zero normaliser gives the ratio 0
    EXPECT_EQ(bounds.ClassMax, 5);
}

TEST_F(Graduated, ClassColoursComeFromTheRampAtEachMiddle) {
    const std::string t = NumberTable(dir, {0, 90});
    symbols.GradRamp = 0;
    Build(t, 3, true, true);
    const std::string stops = GradRampStops(0);
    EXPECT_EQ(symbols.Item(1).FillColor, RampColor(stops, 15, 90, 0));
    EXPECT_EQ(symbols.Item(2).FillColor, RampColor(stops, 45, 90, 0));
    EXPECT_EQ(symbols.Item(3).FillColor, RampColor(stops, 75, 90, 0));

    symbols.RampMode = 2;
    symbols.FromColor = 0x0000FF;
    symbols.ToColor = 0xFF0000;
    Build(t, 3, false, true);
    EXPECT_EQ(symbols.Item(1).FillColor, 0x0000FFu);
    EXPECT_EQ(symbols.Item(2).FillColor, InterpolateColor(45, 90, 0, 0xFF0000, 0x0000FF));
    EXPECT_EQ(symbols.Item(3).FillColor, 0xFF0000u);
}

TEST_F(Graduated, DataMethodsLeaveEmptyValuesOutAndKeepTheirBreaksOnRelabelling) {
    const double empty = std::nan("");
    const std::string t = NumberTable(dir, {1, 2, empty, 3, 50, 51, 52, empty, 200});
    bounds.Digits = 1;
    EXPECT_EQ(Build(t, 3, true, true, "", ClassMethod::NaturalBreaks),
              (std::vector<std::string>{"1.0 : 26.5", "26.5 : 126.0", "126.0 : 200.0"}));
    EXPECT_EQ(bounds.ClassMin, 1);
    EXPECT_EQ(Build(t, 3, true, true, "", ClassMethod::Quantile),
              (std::vector<std::string>{"1.0 : 2.5", "2.5 : 51.5", "51.5 : 200.0"}));
    // Class k of n at (k - 0.5) / n of the ramp: distinct colours for unequal classes.
    const std::string stops = GradRampStops(symbols.GradRamp);
    EXPECT_EQ(symbols.Item(1).FillColor, RampColor(stops, 1.0 / 6, 1, 0));
    EXPECT_EQ(symbols.Item(3).FillColor, RampColor(stops, 5.0 / 6, 1, 0));
    symbols.Item(2).LineWidth = 7;
    bounds.Digits = 0;
    EXPECT_EQ(Build(t, 3, false, false, "", ClassMethod::Quantile),
              (std::vector<std::string>{"1 : 2", "2 : 51", "51 : 200"}));
    EXPECT_EQ(symbols.Item(2).LineWidth, 7);
    // Fewer distinct values than classes: one class for each.
    EXPECT_EQ(Build(t, 40, false, true, "", ClassMethod::Quantile).size(), 7u);
}

TEST_F(Graduated, DataMethodsClassTheRatiosAsTheWorkingTableStoresThem) {
    const std::string t = NumberTable(dir, {1, 2, 3, 4}, {3, 0, 3, 1});
    bounds.Digits = 3;
    // Ratios 1/3, 0, 1 and 4.
    EXPECT_EQ(Build(t, 2, true, true, "N", ClassMethod::NaturalBreaks),
              (std::vector<std::string>{"0.000 : 2.500", "2.500 : 4.000"}));
    EXPECT_EQ(Build(t, 4, true, true, "N", ClassMethod::Quantile),
              (std::vector<std::string>{"0.000 : 0.167", "0.167 : 0.667", "0.667 : 2.500", "2.500 : 4.000"}));
}

TEST_F(Graduated, ACustomRampOverEqualValuesGivesTheFromColour) {
    const std::string t = NumberTable(dir, {7, 7, 7});
    symbols.RampMode = 2;
    symbols.FromColor = 0x00FFFF;
    symbols.ToColor = 0x0000FF;
    Build(t, 4, true, true);
    EXPECT_EQ(symbols.Item(1).FillColor, 0x00FFFFu);
    EXPECT_EQ(symbols.Item(2).FillColor, 0x00FFFFu);
    EXPECT_EQ(symbols.Item(3).FillColor, 0x00FFFFu);
    EXPECT_EQ(symbols.Item(4).FillColor, 0x0000FFu);
}

TEST(UniqueClasses, OneClassPerValueInRampColours) {
    TempDir dir;
    const std::string path = (dir / "u.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "V", FTString, 8, 0);
    const char* values[] = {"b", "A", "a", "10", "9"};
    for (int i = 0; i < 5; ++i) DBFWriteStringAttribute(h, i, 0, values[i]);
    DBFClose(h);

    TSymbolList symbols;
    symbols.UniqueRamp = 5;
    symbols.DefaultSymbol().LineWidth = 6;
    const auto texts = BuildUniqueClasses(path, "V", symbols, 1);
    EXPECT_EQ(texts, (std::vector<std::string>{"10", "9", "A", "a", "b"}));
    ASSERT_EQ(symbols.Count(), 5);
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(symbols.Item(k).IconColor, UniqueRampColor(5, k));
        EXPECT_EQ(symbols.Item(k).LineWidth, 6);  // a copy of the default symbol
    }
    EXPECT_EQ(symbols.FindByValue("a"), 4);  // every value finds its own class
}

TEST(UniqueClasses, TheCapLeavesOneMoreThanFiveThousand) {
    TempDir dir;
    const std::string path = (dir / "many.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "V", FTInteger, 8, 0);
    for (int i = 0; i < 6000; ++i) DBFWriteIntegerAttribute(h, i, 0, i);
    DBFClose(h);
    TSymbolList symbols;
    EXPECT_EQ(BuildUniqueClasses(path, "V", symbols, 3).size(), 5001u);
}

TEST(ToAllCommands, TypedAnswersAreTruncatedAndHeld) {
    EXPECT_EQ(ParseToAllAnswer("150", 100), 100);
    EXPECT_EQ(ParseToAllAnswer("-5", 100), 0);
    EXPECT_EQ(ParseToAllAnswer("37.9", 100), 37);
    EXPECT_EQ(ParseToAllAnswer("abc", 100), 0);
    EXPECT_EQ(ParseToAllAnswer("1e300", 10), 10);
    EXPECT_FALSE(ParseToAllAnswer("", 100).has_value());

    TSymbolList symbols;
    symbols.AddItem();
    EXPECT_TRUE(ApplyOpacityToAll(symbols, 3, "40"));
    EXPECT_EQ(symbols.Item(1).FillOpacity, 40);
    EXPECT_EQ(symbols.Item(1).LineOpacity, 100);
    EXPECT_EQ(symbols.DefaultSymbol().FillOpacity, 40);
    EXPECT_FALSE(ApplyOpacityToAll(symbols, 3, ""));
    EXPECT_TRUE(ApplyLineWidthToAll(symbols, "12"));
    EXPECT_EQ(symbols.Item(1).LineWidth, 10);

    TSymbolList empty;
    EXPECT_FALSE(ApplyIconToAll(empty, 5));
    EXPECT_EQ(empty.DefaultSymbol().IconIndex, 114);
    EXPECT_TRUE(ApplyIconToAll(symbols, 5));
    EXPECT_EQ(symbols.Item(1).IconIndex, 5);
}

}  // namespace
}  // namespace tessaly
