// Whole documents of real files, byte for byte, and the label order they rest on.
// After a deliberate change of the document, run with TESSALY_UPDATE_GOLDEN=1 to
// write the new documents into tests/golden, and review their difference.

#include "engine/row_order.h"
#include "input/letter_case.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace tessaly {
namespace {

using test::RunCommand;
using test::TempDir;

struct GoldenCase {
    const char* data;     // shared data set, without extension
    const char* options;  // of tessaly-convert
    const char* golden;   // file in tests/golden
};

const GoldenCase kGoldenCases[] = {
    {"shapefile-js/points", "--label FID --graduated FID --classes 3 --folders --balloon FID --icon 20",
     "points_graduated_folders.kml"},
    {"shapefile-js/polylines", "--label '' --unique FID --tessellate --extrude constant:5 --altitude relative",
     "polylines_unique_3d.kml"},
    {"projected/states_nad27_utm16n",
     "--utm 16N --datum 133 --label name --unique name --centroid --balloon id,name --balloon-borders",
     "states_nad27_utm16n_centroids.kml"},
    {"shapefile-js/number-property", "--label '' --graduated foo --classes 2 --folders --balloon foo --data",
     "number_graduated_empty_data.kml"},
};

TEST(GoldenDocuments, RealFilesGiveTheirDocumentsByteForByte) {
    const bool update = std::getenv("TESSALY_UPDATE_GOLDEN") != nullptr;
    for (const GoldenCase& c : kGoldenCases) {
        SCOPED_TRACE(c.golden);
        TempDir dir;
        const auto shp = dir.CopyShared(c.data);
        const auto kml = dir / "out.kml";
        const auto r = RunCommand(std::string("'") + TESSALY_CONVERT + "' '" + shp.string() + "' -o '" +
                                  kml.string() + "' -q " + c.options);
        ASSERT_EQ(r.status, 0);
        EXPECT_TRUE(test::ValidKml(kml));
        const auto golden = std::filesystem::path(TESSALY_GOLDEN_DIR) / c.golden;
        if (update) test::WriteBytes(golden, test::ReadBytes(kml));
        const auto written = test::ReadBytes(kml);
        const auto expected = test::ReadBytes(golden);
        ASSERT_FALSE(expected.empty());
        EXPECT_TRUE(written == expected) << kml << " differs from " << golden;
    }
}

// The order the label index gives: texts as LessIgnoringCase orders them, then table
// order; numbers by value. Checked against a plain stable sort over labels chosen to
// catch a sort that folds differently: letters on either side of "[" and "_", UTF-8
// bytes, common prefixes, texts equal but for case, empty texts.
TEST(GoldenDocuments, LabelOrderMatchesAStableSortIgnoringCase) {
    const struct {
        const char* text;
        double number;
    } rows[] = {
        {"maple 2", 3},  {"Maple 10", -1}, {"MAPLE 2", 2.5},     {"", 3},          {"cedar", 0},
        {"Cedar", -1},   {"maple 2", 7},   {"Maple ridge long name", 2.5},        {"maple ridge long name", 1e6},
        {"[bracket", 4}, {"_under", 4},    {"Zebra", -2},        {"zebra", 0.5},   {"\xC3\x89mile", 1},
        {"\xC3\xA9mile", 1}, {"emile", -3}, {"Emile", 8},     {"abcd", 2},      {"ABCDe", 2},
        {"abcdE", 2},    {"abc", 9},       {"ABCD", 2},          {"", -5},         {"\x7F", 6},
        {"b", 0},  // deleted
    };
    const int count = static_cast<int>(std::size(rows));
    TempDir dir;
    const std::string path = (dir / "labels.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "T", FTString, 30, 0);
    DBFAddField(h, "N", FTDouble, 12, 3);
    for (int i = 0; i < count; ++i) {
        DBFWriteStringAttribute(h, i, 0, rows[i].text);
        DBFWriteDoubleAttribute(h, i, 1, rows[i].number);
    }
    DBFMarkRecordDeleted(h, count - 1, 1);
    DBFClose(h);

    const DbfTable table(path);
    std::vector<int> byText, byNumber;
    for (int i = 0; i < count - 1; ++i) byText.push_back(i);
    byNumber = byText;
    std::stable_sort(byText.begin(), byText.end(),
                     [&](int a, int b) { return LessIgnoringCase(table.Text(a, 0), table.Text(b, 0)); });
    std::stable_sort(byNumber.begin(), byNumber.end(), [&](int a, int b) { return rows[a].number < rows[b].number; });
    auto rowsOf = [&](int field) {
        const RowOrder order = RowOrder::LabelOrder(table, field);
        std::vector<int> sorted;
        for (const OrderedRow& r : order.rows) {
            sorted.push_back(r.row);
            EXPECT_EQ(order.Label(r), table.Text(r.row, field));
        }
        return sorted;
    };
    EXPECT_EQ(rowsOf(0), byText);
    EXPECT_EQ(rowsOf(1), byNumber);
}

}  // namespace
}  // namespace tessaly

namespace tessaly {
namespace {

// Many texts that agree over long stretches, differ in letter case, end on either
// side of every fourth byte and fill more than one block of the label store: the
// label order still matches the plain sort, and every label reads back whole.
TEST(GoldenDocuments, LabelOrderOfManyNearTexts) {
    std::mt19937 random(11);
    const std::string letters = "aAbB _zZ\xC3\xA9\x7F";
    std::vector<std::string> texts;
    for (int i = 0; i < 150000; ++i) {
        std::string t = i % 4 == 0 ? "Maple Ridge Road " : i % 4 == 1 ? "maple ridge" : "";
        const int extra = std::uniform_int_distribution<int>(0, 20)(random);
        for (int k = 0; k < extra; ++k) t += letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(random)];
        texts.push_back(t.substr(0, 30));
    }
    TempDir dir;
    const std::string path = (dir / "near.dbf").string();
    DBFHandle h = DBFCreate(path.c_str());
    DBFAddField(h, "T", FTString, 30, 0);
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        DBFWriteStringAttribute(h, i, 0, texts[static_cast<std::size_t>(i)].c_str());
        if (i % 7 == 0) DBFMarkRecordDeleted(h, i, 1);  // the first row too
    }
    DBFClose(h);

    const DbfTable table(path);
    std::vector<std::string> stored;
    std::vector<int> expected;
    for (int row = 0; row < table.RecordCount(); ++row) {
        stored.push_back(table.Text(row, 0));
        if (row % 7 != 0) expected.push_back(row);
    }
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        return LessIgnoringCase(stored[static_cast<std::size_t>(a)], stored[static_cast<std::size_t>(b)]);
    });
    const RowOrder order = RowOrder::LabelOrder(table, 0);
    ASSERT_EQ(order.rows.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(order.rows[i].row, expected[i]) << "place " << i;
        ASSERT_EQ(order.Label(order.rows[i]), stored[static_cast<std::size_t>(expected[i])]);
    }
}

}  // namespace
}  // namespace tessaly
