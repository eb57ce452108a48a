// Classified documents read back: every feature carries the style of the class
// that holds its value.

#include "test_support.h"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <fstream>
#include <map>
#include <regex>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::TempDir;

struct Feature {
    std::string folder;  // empty without class folders
    std::string style;   // "tessaly3"
    std::vector<std::string> values;  // the balloon's values, in order
};

std::vector<Feature> Features(const std::string& doc, std::vector<std::string>* folders) {
    std::vector<Feature> features;
    static const std::regex item(
        R"(<Folder><name>([^<]*)</name>|<Placemark>.*?<styleUrl>#([^<]*)</styleUrl>)");
    static const std::regex value(R"(<font COLOR="#[0-9A-F]{6}">([^<]*)</font></td></tr>)");
    std::string folder;
    for (std::sregex_iterator it(doc.begin(), doc.end(), item), end; it != end; ++it) {
        if ((*it)[1].matched) {
            folder = (*it)[1].str();
            if (folders && folder != "Info") folders->push_back(folder);
            continue;
        }
        Feature f{folder, (*it)[2].str(), {}};
        const std::string placemark = it->str();
        for (std::sregex_iterator v(placemark.begin(), placemark.end(), value); v != end; ++v)
            f.values.push_back((*v)[1].str());
        features.push_back(std::move(f));
    }
    return features;
}

std::pair<double, double> Bounds(const std::string& text) {
    const std::size_t colon = text.find(" : ");
    return {std::stod(text.substr(0, colon)), std::stod(text.substr(colon + 3))};
}

test::CommandResult Convert(const std::string& args) { return test::RunConverter(args + " -q"); }

TEST(ClassifiedDocument, GraduatedStylesFollowTheIntervals) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    const std::string common = "'" + shp.string() + "' --graduated POP1990 --normalize AREA --digits 2 "
                               "--classes 5 --balloon POP1990,AREA --label ''";
    ASSERT_EQ(Convert(common + " --folders -o '" + (dir / "f.kml").string() + "'").status, 0);
    ASSERT_EQ(Convert(common + " -o '" + (dir / "n.kml").string() + "'").status, 0);
    EXPECT_TRUE(test::ValidKml(dir / "f.kml"));
    EXPECT_TRUE(test::ValidKml(dir / "n.kml"));

    std::vector<std::string> classes;
    const auto folded = Features(ReadText(dir / "f.kml"), &classes);
    ASSERT_EQ(classes.size(), 5u);
    ASSERT_EQ(folded.size(), 663u);
    // The balloon lists AREA before POP1990, as the table does.
    auto ratio = [](const Feature& f) {
        const double area = std::stod(f.values.at(0));
        return area == 0 ? 0 : std::stod(f.values.at(1)) / area;
    };
    // With folders: half-open intervals, the outer classes open to the ends.
    for (const Feature& f : folded) {
        const std::size_t k = static_cast<std::size_t>(
            std::find(classes.begin(), classes.end(), f.folder) - classes.begin());
        ASSERT_LT(k, classes.size());
        EXPECT_EQ(f.style, "tessaly" + std::to_string(k + 1));
        const double r = ratio(f);
        if (k > 0) {
            EXPECT_GE(r, Bounds(classes[k]).first) << f.folder;
        }
        if (k + 1 < classes.size()) {
            EXPECT_LT(r, Bounds(classes[k]).second) << f.folder;
        }
    }
    // Without folders: the first class whose closed interval holds the value, the outer
    // classes widened by 1000.
    const auto flat = Features(ReadText(dir / "n.kml"), nullptr);
    ASSERT_EQ(flat.size(), 663u);
    for (const Feature& f : flat) {
        const double r = ratio(f);
        std::size_t expected = 0;
        for (std::size_t k = 0; k < classes.size() && expected == 0; ++k) {
            auto [low, high] = Bounds(classes[k]);
            if (k == 0) low -= 1000;
            if (k + 1 == classes.size()) high += 1000;
            if (low <= r && r <= high) expected = k + 1;
        }
        EXPECT_EQ(f.style, expected == 0 ? "tessaly" : "tessaly" + std::to_string(expected)) << r;
    }
}

TEST(ClassifiedDocument, EmptyValuesBelongToNoClass) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    {
        // Five rows without a population and five without an area, as GDAL writes a null.
        DBFHandle h = DBFOpen(fs::path(shp).replace_extension(".dbf").c_str(), "r+b");
        for (int row = 0; row < 10; ++row) DBFWriteNULLAttribute(h, row * 60, row < 5 ? 2 : 0);
        DBFClose(h);
    }
    const std::string common = "'" + shp.string() + "' --graduated POP1990 --normalize AREA --classes 4 "
                               "--balloon POP1990,AREA --label ''";
    const auto folded = Convert(common + " --folders -o '" + (dir / "f.kml").string() + "'");
    ASSERT_EQ(folded.status, 0) << folded.output;
    EXPECT_NE(folded.output.find("10 records without a value of POP1990 or AREA take the default symbol"),
              std::string::npos) << folded.output;
    ASSERT_EQ(Convert(common + " -o '" + (dir / "n.kml").string() + "'").status, 0);

    std::vector<std::string> folders;
    const std::pair<const char*, std::vector<std::string>*> runs[] = {{"f.kml", &folders}, {"n.kml", nullptr}};
    for (const auto& [file, names] : runs) {
        const auto features = Features(ReadText(dir / file), names);
        ASSERT_EQ(features.size(), 663u);
        int empty = 0;
        for (const Feature& f : features) {
            const bool hasValues = !f.values.at(0).empty() && !f.values.at(1).empty();
            EXPECT_EQ(f.style == "tessaly", !hasValues) << file << " " << f.style;
            if (!hasValues) {
                EXPECT_EQ(f.folder, names ? "No value" : "Features");
                ++empty;
            }
        }
        EXPECT_EQ(empty, 10) << file;
    }
    ASSERT_EQ(folders.size(), 5u);
    EXPECT_EQ(folders.back(), "No value");
}

TEST(ClassifiedDocument, NumericValuesReadAsNumbersAndSortAsNumbers) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    ASSERT_EQ(Convert("'" + shp.string() + "' --unique MEDIANRENT --folders --balloon AREA,POP90_SQMI "
                      "--label POP90_SQMI")
                  .status,
              0);
    const std::string doc = ReadText(dir / "blockgroups.kml");
    std::vector<std::string> folders;
    const auto features = Features(doc, &folders);
    ASSERT_EQ(features.size(), 663u);
    // Folder names: the rents as numbers, in ascending order of value.
    ASSERT_GT(folders.size(), 100u);
    for (std::size_t k = 1; k < folders.size(); ++k)
        ASSERT_LT(std::stod(folders[k - 1]), std::stod(folders[k])) << folders[k - 1] << " " << folders[k];
    // Balloons and names hold no padding, no zeros ending a fraction and no bare point.
    static const std::regex readable(R"(-?[0-9]+(\.[0-9]*[1-9])?)");
    int whole = 0;
    for (const Feature& f : features) {
        for (const std::string& v : f.values) EXPECT_TRUE(std::regex_match(v, readable)) << '"' << v << '"';
        whole += f.values.at(1).find('.') == std::string::npos;
    }
    EXPECT_EQ(whole, 81);  // the densities stored as "60000.0" and the like
    static const std::regex name(R"(<Placemark><name>([^<]*)</name>)");
    for (std::sregex_iterator it(doc.begin(), doc.end(), name), end; it != end; ++it)
        EXPECT_TRUE(std::regex_match((*it)[1].str(), readable)) << (*it)[1].str();
}

TEST(ClassifiedDocument, DataMethodsPutEveryPlacemarkInTheFolderOfItsClass) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/blockgroups");
    for (const std::string method : {"quantile", "jenks"}) {
        const fs::path out = dir / (method + ".kml");
        ASSERT_EQ(Convert("'" + shp.string() + "' --graduated POP1990 --method " + method +
                          " --classes 6 --digits 0 --folders --balloon POP1990 --label '' -o '" + out.string() + "'")
                      .status,
                  0);
        std::vector<std::string> classes;
        const auto features = Features(ReadText(out), &classes);
        ASSERT_EQ(classes.size(), 6u);
        ASSERT_EQ(features.size(), 663u);
        std::vector<std::vector<double>> members(classes.size());
        for (const Feature& f : features) {
            const auto k = static_cast<std::size_t>(std::find(classes.begin(), classes.end(), f.folder) - classes.begin());
            ASSERT_LT(k, classes.size()) << f.folder;
            EXPECT_EQ(f.style, "tessaly" + std::to_string(k + 1));
            members[k].push_back(std::stod(f.values.at(0)));
        }
        // Every class is filled, and all of one class lies below all of the next.
        for (std::size_t k = 0; k < members.size(); ++k) {
            ASSERT_FALSE(members[k].empty()) << method << " class " << k + 1;
            if (k > 0) {
                EXPECT_LT(*std::max_element(members[k - 1].begin(), members[k - 1].end()),
                          *std::min_element(members[k].begin(), members[k].end()));
            }
        }
        if (method == "quantile") {
            for (const auto& m : members) EXPECT_NEAR(static_cast<double>(m.size()), 663 / 6.0, 3) << method;
        }
    }
    EXPECT_NE(Convert("'" + shp.string() + "' --graduated POP1990 --method median").output.find("--method"),
              std::string::npos);
}

TEST(ClassifiedDocument, UniqueFoldersHoldExactlyTheirValue) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("us-atlas/counties");
    ASSERT_EQ(Convert("'" + shp.string() + "' --unique name --folders --balloon name").status, 0);
    std::vector<std::string> classes;
    const auto features = Features(ReadText(dir / "counties.kml"), &classes);
    EXPECT_EQ(features.size(), 3230u);
    std::map<std::string, int> perFolder;
    for (const Feature& f : features) {
        ASSERT_EQ(f.values.size(), 1u);
        EXPECT_EQ(f.values[0], f.folder);
        ++perFolder[f.folder];
    }
    // Every class folder holds its counties, but for the one county without a shape.
    EXPECT_EQ(perFolder.size() + 1, classes.size());
    EXPECT_EQ(perFolder.at("Washington"), 31);
}

TEST(ClassifiedDocument, ValuesBeyondTheClassCapGoToOtherValues) {
    TempDir dir;
    const fs::path shp = dir.CopyShared("pyshp/merge");
    DBFHandle h = DBFCreate(fs::path(shp).replace_extension(".dbf").c_str());
    DBFAddField(h, "KEY", FTInteger, 8, 0);
    for (int i = 0; i < 6630; ++i) DBFWriteIntegerAttribute(h, i, 0, 100000 + i);
    DBFClose(h);
    ASSERT_EQ(Convert("'" + shp.string() + "' --unique KEY --folders --label ''").status, 0);
    std::vector<std::string> folders;
    const auto features = Features(ReadText(dir / "merge.kml"), &folders);
    ASSERT_EQ(features.size(), 6630u);
    ASSERT_EQ(folders.back(), "Other values");
    EXPECT_EQ(folders.size(), 5002u);
    std::size_t others = 0;
    for (const Feature& f : features)
        if (f.folder == "Other values") {
            EXPECT_EQ(f.style, "tessaly");
            ++others;
        }
    EXPECT_EQ(others, 6630u - 5001u);
}

}  // namespace
}  // namespace tessaly
