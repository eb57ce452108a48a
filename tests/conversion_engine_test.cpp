// The engine driven as the wizard drives it: collect, prepare, convert.

#include "engine/conversion_engine.h"
#include "engine/working_table.h"
#include "input/attribute_fields.h"
#include "input/shapefile_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <cstring>
#include <fstream>
#include <regex>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::RecordedMessages;
using test::TempDir;


// Folder name -> placemark names in it, in order.
std::vector<std::pair<std::string, std::vector<std::string>>> Folders(const std::string& doc) {
    std::vector<std::pair<std::string, std::vector<std::string>>> folders;
    static const std::regex tag(R"(<Folder><name>([^<]*)</name>|<Placemark><name>([^<]*)</name>)");
    for (std::sregex_iterator it(doc.begin(), doc.end(), tag), end; it != end; ++it) {
        if ((*it)[1].matched) folders.push_back({(*it)[1].str(), {}});
        else if (!folders.empty()) folders.back().second.push_back((*it)[2].str());
    }
    return folders;
}

class Engine : public ::testing::Test {
protected:
    void Load(const std::string& base) {
        shp = dir.CopyShared(base).string();
        TFileSHP reader(shp);
        ASSERT_TRUE(reader.Open() && reader.ReadHeader());
        table = fs::path(shp).replace_extension(".dbf").string();
        engine.InputLoaded(ShapeClass(reader.ShapeType), table);
    }
    std::string Run(const ConversionChoices& c) {
        engine.CollectSettings(c, shp);
        engine.SetUniqueNumeric();
        engine.PrepareAttributes(shp, messages);
        const std::string kml = (dir / "out.kml").string();
        EXPECT_TRUE(engine.ConvertToKml(shp, kml, messages));
        EXPECT_TRUE(test::ValidKml(kml));
        return ReadText(kml);
    }

    TempDir dir;
    TempDir work;
    TConversionEngine engine{work.Path().string()};
    RecordedMessages messages;
    std::string shp, table;
};

TEST_F(Engine, WritingReportsEveryWholePercentUpToAHundred) {
    Load("pyshp/blockgroups");
    ConversionChoices c;
    c.labelField = "BKG_KEY";
    c.labelPosition = 2;
    Run(c);
    ASSERT_FALSE(messages.percents.empty());
    // 663 rows: each whole percent from 0 once, rising, the last at the end of the run.
    EXPECT_EQ(messages.percents.size(), 101u);
    EXPECT_TRUE(std::is_sorted(messages.percents.begin(), messages.percents.end()));
    EXPECT_EQ(std::adjacent_find(messages.percents.begin(), messages.percents.end()), messages.percents.end());
    EXPECT_EQ(messages.percents.back(), 100);
}

TEST_F(Engine, PreparesOnceAndReusesLabelIndexes) {
    Load("pyshp/blockgroups");
    ConversionChoices c;
    c.labelField = "BKG_KEY";
    c.labelPosition = 2;
    const std::string first = Run(c);
    EXPECT_EQ(messages.progress, (std::vector<std::string>{"Preparing Information...", "Sorting Attributes...",
                                                           "Creating KML file..."}));
    EXPECT_EQ(engine.State.LabelIndexName, "INDEX2");
    // Placemarks come in ascending label order.
    std::vector<std::string> names;
    for (const auto& f : Folders(first)) names.insert(names.end(), f.second.begin(), f.second.end());
    ASSERT_EQ(names.size(), 663u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    messages.progress.clear();
    c.labelField = "POP1990";
    c.labelPosition = 3;
    Run(c);
    EXPECT_EQ(messages.progress, (std::vector<std::string>{"Sorting Attributes...", "Creating KML file..."}));
    EXPECT_TRUE(messages.information.empty());

    c.labelField = "BKG_KEY";
    c.labelPosition = 2;
    Run(c);
    EXPECT_EQ(messages.information, (std::vector<std::string>{"Index already exists"}));
    EXPECT_EQ(engine.State.LabelIndexName, "INDEX2");
}

TEST_F(Engine, AFailedPreparationKeepsNoLabelOrderOfItsTable) {
    // Large enough that its labels are sorted while its shape index is built.
    Load("us-atlas/counties");
    const fs::path good = dir / "good.dbf";
    fs::copy_file(table, good);
    // One row more than the shapefile has records, and no name of the real table.
    fs::remove(table);
    DBFHandle h = DBFCreate(table.c_str());
    DBFAddField(h, "name", FTString, 12, 0);
    for (int row = 0; row <= 3231; ++row) DBFWriteStringAttribute(h, row, 0, ("x" + std::to_string(row)).c_str());
    DBFClose(h);
    ConversionChoices c;
    c.labelField = "name";
    engine.CollectSettings(c, shp);
    EXPECT_THROW(engine.PrepareAttributes(shp, messages), ConversionError);

    fs::copy_file(good, table, fs::copy_options::overwrite_existing);
    const std::string kml = Run(c);
    EXPECT_EQ(kml.find("<name>x"), std::string::npos);
    EXPECT_NE(kml.find("<name>Tangipahoa</name>"), std::string::npos);
}

TEST_F(Engine, WorkingTableNumbersEveryRowAndStoresFullRatios) {
    Load("pyshp/blockgroups");
    ConversionChoices c;
    c.kind = kGraduated;
    c.classField = "POP1990";
    c.normField = "AREA";
    engine.Symbols.AddItem().ValueText = "0 : 1000000000";
    Run(c);
    const DbfTable copy(engine.WorkTablePath);
    const DbfTable input(table);
    ASSERT_EQ(copy.RecordCount(), 663);
    const int ratio = RatioFieldIndex(copy), id = ratio - 1;
    const int pop = input.RequireField("POP1990"), area = input.RequireField("AREA");
    for (int row = 0; row < copy.RecordCount(); ++row) {
        ASSERT_EQ(copy.Number(row, id), row + 1);
        const double b = input.Number(row, area);
        ASSERT_EQ(copy.Number(row, ratio), b == 0 ? 0 : input.Number(row, pop) / b) << row;
    }
    // The second row: 6 people on 0.0001 square miles, a ratio that a 12-character
    // field with 7 decimals ("60000.0000000" is 13) could not hold.
    EXPECT_EQ(copy.Number(1, ratio), 60000);
}

// A small table of the cases the shared data lacks: deleted rows, a language byte
// of its own, a text field holding a zero byte.
fs::path MadeTable(const TempDir& dir) {
    const fs::path path = dir / "made.dbf";
    {
        DBFHandle h = DBFCreateEx(path.c_str(), "LDID/38");
        DBFAddField(h, "NAME", FTString, 12, 0);
        DBFAddField(h, "COUNT", FTInteger, 6, 0);
        for (int row = 0; row < 3; ++row) {
            DBFWriteStringAttribute(h, row, 0, ("row " + std::to_string(row)).c_str());
            DBFWriteIntegerAttribute(h, row, 1, row * 7);
        }
        DBFMarkRecordDeleted(h, 1, 1);
        DBFClose(h);
    }
    std::vector<unsigned char> bytes = test::ReadBytes(path);
    bytes[bytes[8] + 256 * bytes[9] + 3] = 0;  // "ro\0 0"
    test::WriteBytes(path, bytes);
    return path;
}

// Every shared table and the made one, read back through shapelib: the input's
// fields and bytes as stored, deletion marks and code page kept, then the row
// number and a blank ratio.
TEST(WorkingTable, CopiesEveryTableAsStoredAndNumbersItsRows) {
    TempDir dir;
    std::vector<fs::path> inputs{MadeTable(dir)};
    for (const auto& entry : fs::recursive_directory_iterator(test::SharedData("")))
        if (entry.path().extension() == ".dbf") {
            const fs::path copy = dir / (std::to_string(inputs.size()) + ".dbf");
            fs::copy_file(entry.path(), copy);
            if (const fs::path cpg = fs::path(entry.path()).replace_extension(".cpg"); fs::exists(cpg))
                fs::copy_file(cpg, fs::path(copy).replace_extension(".cpg"));
            inputs.push_back(copy);
        }
    ASSERT_GT(inputs.size(), 20u);
    for (const fs::path& input : inputs) {
        SCOPED_TRACE(input.string());
        const std::string work = (dir / "work.dbf").string();
        CreateWorkingTable(input.string(), work);
        EXPECT_EQ(DbfTable(work).Decoder().Name(), DbfTable(input.string()).Decoder().Name());
        DBFHandle in = DBFOpen(input.c_str(), "rb");
        DBFHandle out = DBFOpen(work.c_str(), "rb");
        ASSERT_TRUE(in && out);
        const int fields = DBFGetFieldCount(in), rows = DBFGetRecordCount(in);
        ASSERT_EQ(DBFGetFieldCount(out), fields + 2);
        ASSERT_EQ(DBFGetRecordCount(out), rows);
        const char* inPage = DBFGetCodePage(in);
        const char* outPage = DBFGetCodePage(out);
        EXPECT_EQ(std::string(inPage ? inPage : "-"), std::string(outPage ? outPage : "-"));
        EXPECT_EQ(in->iLanguageDriver, out->iLanguageDriver);
        for (int i = 0; i < fields + 2; ++i) {
            char inName[XBASE_FLDNAME_LEN_READ + 1] = {}, outName[XBASE_FLDNAME_LEN_READ + 1] = {};
            int inWidth = 0, inDecimals = 0, outWidth = 0, outDecimals = 0;
            DBFGetFieldInfo(out, i, outName, &outWidth, &outDecimals);
            if (i < fields) {
                DBFGetFieldInfo(in, i, inName, &inWidth, &inDecimals);
                EXPECT_EQ(DBFGetNativeFieldType(out, i), DBFGetNativeFieldType(in, i));
            } else {
                std::strcpy(inName, i == fields ? kRowNumberField : kRatioField);
                inWidth = i == fields ? 10 : 24;
                EXPECT_EQ(DBFGetNativeFieldType(out, i), 'N');
            }
            EXPECT_EQ(std::string(outName), std::string(inName));
            EXPECT_EQ(outWidth, inWidth);
            EXPECT_EQ(outDecimals, inDecimals);
        }
        for (int row = 0; row < rows; ++row) {
            ASSERT_EQ(DBFIsRecordDeleted(out, row), DBFIsRecordDeleted(in, row));
            for (int i = 0; i < fields; ++i) {
                const int width = in->panFieldSize[i];
                const std::string stored(DBFReadTuple(in, row) + in->panFieldOffset[i], width);
                ASSERT_EQ(std::string(DBFReadTuple(out, row) + out->panFieldOffset[i], width), stored) << row;
            }
            const std::string number = std::to_string(row + 1);
            const char* added = DBFReadTuple(out, row) + out->panFieldOffset[fields];
            ASSERT_EQ(std::string(added, 34), std::string(10 - number.size(), ' ') + number + std::string(24, ' '));
        }
        DBFClose(in);
        DBFClose(out);
    }
}

TEST_F(Engine, GraduatedFoldersAreHalfOpenAndTheFlatListClosed) {
    Load("pyshp/blockgroups");
    ConversionChoices c;
    c.kind = kGraduated;
    c.classField = "POP1990";
    c.labelField = "POP1990";
    c.createFolders = true;
    for (const char* t : {"0 : 1000", "1000 : 2000", "2000 : 9000"}) engine.Symbols.AddItem().ValueText = t;
    const std::string withFolders = Run(c);
    const auto folders = Folders(withFolders);
    ASSERT_EQ(folders.size(), 4u);  // three classes, then Info
    std::size_t total = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        total += folders[i].second.size();
        for (const std::string& name : folders[i].second) {
            const double v = std::stod(name);
            const double low = i == 0 ? -1e300 : 1000.0 * static_cast<double>(i);
            const double high = i == 2 ? 1e300 : 1000.0 * static_cast<double>(i + 1);
            EXPECT_TRUE(v >= low && v < high) << name << " in folder " << i + 1;
        }
    }
    EXPECT_EQ(total, 663u);
    EXPECT_EQ(folders[0].first, "0 : 1000");

    // Without folders a value on a boundary takes the lower class.
    c.createFolders = false;
    const std::string flat = Run(c);
    const DbfTable input(table);
    const int pop = input.RequireField("POP1990");
    int boundary = -1;
    for (int row = 0; row < input.RecordCount() && boundary < 0; ++row)
        if (input.Text(row, pop) == "1000" || input.Text(row, pop) == "2000") boundary = row;
    if (boundary >= 0) {
        const std::string name = "<name>" + input.Text(boundary, pop) + "</name>";
        const std::size_t at = flat.find(name);
        ASSERT_NE(at, std::string::npos);
        const std::string expected = input.Text(boundary, pop) == "1000" ? "#tessaly1<" : "#tessaly2<";
        EXPECT_LT(flat.find(expected, at), flat.find("</Placemark>", at));
    }
}

TEST_F(Engine, UniqueFoldersHoldExactlyTheirValue) {
    Load("us-atlas/counties");
    ConversionChoices c;
    c.kind = kUniqueValues;
    c.classField = "name";
    c.labelField = "id";
    c.createFolders = true;
    const auto values = UniqueValues(table, "name", 5000);
    for (const std::string& v : values) engine.Symbols.AddItem().ValueText = v;
    const std::string doc = Run(c);
    EXPECT_FALSE(engine.Kml.UniqueNumeric);

    // Every county sits in the folder of its own name, and nowhere else.
    const DbfTable input(table);
    std::map<std::string, std::string> nameOfId;
    for (int row = 0; row < input.RecordCount(); ++row) nameOfId[input.Text(row, 0)] = input.Text(row, 1);
    std::size_t placed = 0;
    for (const auto& [folder, names] : Folders(doc)) {
        for (const std::string& id : names) EXPECT_EQ(nameOfId.at(id), folder) << id;
        placed += names.size();
    }
    EXPECT_EQ(placed, 3230u);  // every county but the one without a shape
    ASSERT_EQ(messages.information.size(), 1u);
    EXPECT_NE(messages.information[0].find("1 record without"), std::string::npos);
}

TEST_F(Engine, TheSymbologyShapesTheDocumentHead) {
    Load("shapefile-js/points");
    ConversionChoices c;
    c.rollOver = true;
    c.labelField = "FID";
    c.createFolders = true;  // ignored for a single symbol
    const std::string single = Run(c);
    EXPECT_NE(single.find("<Folder><name>Features</name><visibility>1</visibility><open>0</open>"
                          "<Snippet>Legend: Single Symbol</Snippet>"),
              std::string::npos);
    EXPECT_NE(single.find("<styleUrl>#MapRollOver</styleUrl>"), std::string::npos);
    EXPECT_NE(single.find("<br>Legend: Single Symbol<br>Label: FID<br><br><hr>"), std::string::npos);
    EXPECT_NE(single.find("Source File: points.shp"), std::string::npos);
    EXPECT_NE(single.find("<name>points.shp</name>"), std::string::npos);

    c.title = "Abc";
    c.description = "Wells";  // five characters: kept
    const std::string titled = Run(c);
    EXPECT_NE(titled.find("<Document><name>Abc</name>"), std::string::npos);
    EXPECT_NE(titled.find("<![CDATA[Wells<br>Legend"), std::string::npos);
}

TEST_F(Engine, DeletingTheWorkingFilesLeavesNone) {
    Load("shapefile-js/utf8-property");
    Run(ConversionChoices{});
    EXPECT_TRUE(fs::exists(engine.WorkTablePath));
    EXPECT_TRUE(fs::exists(engine.ShapeIndexPath));
    EXPECT_EQ(fs::path(engine.ShapeIndexPath).filename(), "tessaly.idx");
    engine.DeleteWorkingFiles();
    EXPECT_TRUE(fs::is_empty(work.Path()));
}

}  // namespace
}  // namespace tessaly
