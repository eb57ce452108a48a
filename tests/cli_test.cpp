// The converter run as a user runs it.

#include "test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace tessaly {
namespace {

using test::RunCommand;
using test::TempDir;

std::string Convert(const std::string& args) { return std::string("'") + TESSALY_CONVERT + "' " + args; }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(ConvertCommand, ListsTheDatumsInCatalogueOrder) {
    const auto r = RunCommand(Convert("--list-datums"));
    ASSERT_EQ(r.status, 0);
    const auto lines = Lines(r.output);
    ASSERT_EQ(lines.size(), 221u);
    EXPECT_EQ(lines[0], "1\tAdindan Burkina Faso");
    EXPECT_EQ(lines[132], "133\tNorth American 1927 MEAN FOR CONUS");
    EXPECT_EQ(lines[218], "219\tWGS 1984 Global Definition");
    // The regions that name a latitude or longitude carry a degree sign.
    EXPECT_EQ(lines[87], "88\tIndian 1960 Vietnam (Near 16\xC2\xB0N)");
    EXPECT_EQ(lines[117], "118\tNorth American 1927 Alaska (Aleutian Ids East of 180\xC2\xB0W)");
    EXPECT_EQ(r.output.find("\xC3\xB8"), std::string::npos);
}

TEST(ConvertCommand, DescribesAShapefile) {
    TempDir dir;
    const auto shp = dir.CopyShared("shapefile-js/utf8-property");
    const auto r = RunCommand(Convert("--info '" + shp.string() + "'"));
    ASSERT_EQ(r.status, 0) << r.output;
    const auto lines = Lines(r.output);
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "Shape Type: Point");
    EXPECT_EQ(lines[1], "Records: 1");
    EXPECT_EQ(lines[2].rfind("Extent: X ", 0), 0u);
    EXPECT_EQ(lines[3], "Coordinate System: longitude/latitude, WGS 1984 (datum 219), from utf8-property.prj");
    EXPECT_EQ(lines[4], "Table: 1 rows, code page UTF-8");
    EXPECT_EQ(lines[6], "  \xE2\x98\x83 S");

    const auto bg = RunCommand(Convert("--info '" + dir.CopyShared("pyshp/blockgroups").string() + "'"));
    ASSERT_EQ(bg.status, 0);
    EXPECT_NE(bg.output.find("Records: 663\n"), std::string::npos);
    EXPECT_NE(bg.output.find("  POP1990 N\n"), std::string::npos);
    EXPECT_NE(bg.output.find("  BKG_KEY S\n"), std::string::npos);
}

TEST(ConvertCommand, BadInputNamesTheFileAndFails) {
    TempDir dir;
    // A copy whose last record is cut short.
    const auto corrupt = dir.CopyShared("us-atlas/states");
    auto bytes = test::ReadBytes(corrupt);
    bytes.resize(bytes.size() - 10);
    test::WriteBytes(corrupt, bytes);
    const auto r = RunCommand(Convert("--info '" + corrupt.string() + "' 2>&1"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(corrupt.string()), std::string::npos) << r.output;

    const auto noTable = dir.CopyShared("shapefile-js/pointm");
    const auto t = RunCommand(Convert("--info '" + noTable.string() + "' 2>&1"));
    EXPECT_EQ(t.status, 1);
    EXPECT_NE(t.output.find("pointm.dbf: attribute table not found"), std::string::npos) << t.output;

    const auto missing = RunCommand(Convert("--info '" + (dir / "nothing.shp").string() + "' 2>&1"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("nothing.shp: cannot open"), std::string::npos) << missing.output;
}

TEST(ConvertCommand, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunCommand(Convert("--no-such-option 2>/dev/null")).status, 2);
    EXPECT_EQ(RunCommand(Convert("--info 2>/dev/null")).status, 2);
    EXPECT_EQ(RunCommand(Convert("2>/dev/null")).status, 2);
    // An option where a value belongs is a forgotten value, not a name: no folder "--label".
    const auto forgotten = RunCommand(Convert("x.shp -o --label name 2>&1"));
    EXPECT_EQ(forgotten.status, 2);
    EXPECT_NE(forgotten.output.find("-o needs"), std::string::npos) << forgotten.output;
    const auto help = RunCommand(Convert("--help"));
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--list-datums"), std::string::npos);
}

TEST(ConvertCommand, PrintsItsVersionAndBuildTag) {
    const auto r = RunCommand(Convert("--version"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "tessaly-convert 2.1b (build 2-2/1/11)\n");
}

// The options as --help lists them, and as the manual page's option entries
// (".B \-\-name") name them: the two must agree.
TEST(ConvertCommand, ManualPageDescribesTheOptionsOfHelp) {
    std::set<std::string> inHelp, inManual;
    for (const std::string& line : Lines(RunCommand(Convert("--help")).output))
        if (line.rfind("  -", 0) == 0) inHelp.insert(line.substr(2, line.find(' ', 2) - 2));
    std::ifstream manual(TESSALY_MANUAL);
    ASSERT_TRUE(manual) << TESSALY_MANUAL;
    bool optionsSection = false;
    for (std::string line; std::getline(manual, line);) {
        if (line.rfind(".SH", 0) == 0) optionsSection = line == ".SH OPTIONS";
        if (!optionsSection || line.rfind(".B \\-", 0) != 0) continue;
        std::string name;
        for (std::size_t i = 3; i < line.size() && line[i] != ' '; ++i)
            if (line[i] != '\\') name += line[i];
        inManual.insert(name);
    }
    EXPECT_GT(inHelp.size(), 40u);
    EXPECT_EQ(inManual, inHelp);
}

}  // namespace
}  // namespace tessaly
