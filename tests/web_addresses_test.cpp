// The web map's addresses and bounds, the help menu's entries, and the site
// folder that every address must resolve into.

#include "app/site_pages.h"
#include "app/utm_grid_picture.h"
#include "engine/program_version.h"
#include "app/web_addresses.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using test::ReadText;

const fs::path kSite = TESSALY_SITE_DIR;

TEST(WebAddresses, QueriesAndBounds) {
    struct Case {
        double latitude, longitude;
        const char* expected;  // nullptr: not sent
    };
    const Case cases[] = {
        {40, -110, "?lat=40.0000000&lon=-110.0000000&z=7&t=3"},
        {89, 0, "?lat=89.0000000&lon=0.0000000&z=7&t=3"},
        {89.5, 0, nullptr},
        {-89, 0, nullptr},
        {-88.9999999, 12.3456789, "?lat=-88.9999999&lon=12.3456789&z=7&t=3"},
        {0, -180, nullptr},
        {0, 180, "?lat=0.0000000&lon=180.0000000&z=7&t=3"},
        {4649776.224, 500000, nullptr},  // UTM metres
    };
    for (const Case& c : cases) {
        const auto query = WebMapPointQuery(7, 3, c.latitude, c.longitude);
        if (c.expected)
            EXPECT_EQ(query.value_or("none"), c.expected) << c.latitude << " " << c.longitude;
        else
            EXPECT_FALSE(query) << c.latitude << " " << c.longitude;
    }
    EXPECT_EQ(WebMapExtentQuery(10, 1, {-120, 30, -100, 50}).value_or("none"),
              "?lat=40.0000000&lon=-110.0000000&z=10&t=1&dx=10.0000000&dy=10.0000000");
    // The centre decides, not the corners.
    EXPECT_TRUE(WebMapExtentQuery(10, 2, {-190, 80, 170, 98}));
    EXPECT_FALSE(WebMapExtentQuery(10, 2, {-190, 80, -170, 100}));
    EXPECT_FALSE(WebMapExtentQuery(10, 1, {400000, 4500000, 600000, 4700000}));
}

TEST(WebAddresses, HelpMenuEntries) {
    const auto items = HelpMenuItems(VersionText);
    std::vector<std::string> captions;
    for (const auto& item : items) captions.push_back(item.name.empty() ? "-" : item.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Help - How to...", "Tessaly page", "Google Earth related",
                                                  "Software Index", "-", "Comments/Suggestions", "Report a problem",
                                                  "-", "Disclaimer", "About"}));
    EXPECT_EQ(items[6].address, "/software/share/softreport.html?toolname=TESSALY:2-2/1/11");
    EXPECT_EQ(items[5].address, "/software/share/softsugest.html?toolname=TESSALY:2-2/1/11");
    EXPECT_EQ(items[0].address, "/software/howto/tessaly.html");
    EXPECT_EQ(items[9].address, "");
}

TEST(SitePages, AddressesKeepTheirQueriesAndStayOnThisMachine) {
    const QUrl report = SitePageUrl("/software/share/softreport.html?toolname=TESSALY:2-2/1/11");
    EXPECT_TRUE(report.isLocalFile());
    EXPECT_TRUE(report.toString().endsWith(QStringLiteral("/software/share/softreport.html?toolname=TESSALY:2-2/1/11")))
        << report.toString().toStdString();
    EXPECT_EQ(StartPageAddress("2-2/1/11", "K3D9-Q0AZ-7TLM").toString(),
              QStringLiteral("tessaly:/software/homepage/tessaly_home.php?ver=2-2/1/11&id=K3D9-Q0AZ-7TLM"));
    EXPECT_EQ(WebMapBaseUrl().toString(), QStringLiteral("tessaly:/online/tessaly/tessaly_gmap.php"));
}

TEST(SitePages, FoundBesideTheProgramOrInTheInstalledDataFolder) {
    test::TempDir dir;
    fs::create_directories(dir / "bin");
    const QString bin = QString::fromStdString((dir / "bin").string());
    EXPECT_EQ(SiteRootFor(bin), QString());
    fs::create_directories(dir / "share/tessaly/site");
    EXPECT_EQ(SiteRootFor(bin), QString::fromStdString((dir / "share/tessaly/site").string()));
    fs::create_directories(dir / "bin/site");
    EXPECT_EQ(SiteRootFor(bin), QString::fromStdString((dir / "bin/site").string()));
}

TEST(SitePages, EveryAddressAndLinkResolvesToAPageOfTheSite) {
    std::vector<std::string> addresses = {kWebMapPage, kStartPage, kHomePage, kUtmGridPage};
    for (const auto& item : HelpMenuItems(VersionText))
        if (!item.address.empty()) addresses.push_back(item.address.substr(0, item.address.find('?')));
    for (const std::string& a : addresses) EXPECT_TRUE(fs::is_regular_file(kSite / a.substr(1))) << a;

    // Links and resources inside the pages: relative, and there. Only the web
    // map reaches out, for its tiles and their attributions.
    const std::regex reference(R"re((?:href|src)="([^"#]*)[^"]*")re");
    int pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kSite)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".html" && ext != ".php") continue;
        ++pages;
        const std::string text = ReadText(entry.path());
        EXPECT_EQ(text.find("@TESSALY_VERSION_TEXT@"), std::string::npos) << entry.path();
        const bool webMap = entry.path().filename() == "tessaly_gmap.php";
        if (!webMap) {
            EXPECT_EQ(text.find("http"), std::string::npos) << entry.path();
        }
        for (std::sregex_iterator m(text.begin(), text.end(), reference), end; m != end; ++m) {
            const std::string target = (*m)[1];
            // An anchor on the same page; the tile services' terms.
            if (target.empty() || (webMap && target.starts_with("https://"))) continue;
            EXPECT_EQ(target.find(':'), std::string::npos) << entry.path() << ": " << target;
            EXPECT_TRUE(fs::exists(entry.path().parent_path() / target)) << entry.path() << ": " << target;
        }
    }
    EXPECT_EQ(pages, 10);
    EXPECT_NE(ReadText(kSite / "software/share/softreport.html").find("TESSALY:2-2/1/11"), std::string::npos);
}

TEST(SitePages, TheHelpPageNamesEveryOptionOfTheConverter) {
    const std::string help = test::RunCommand(std::string(TESSALY_CONVERT) + " --help").output;
    const std::string page = ReadText(kSite / "software/howto/tessaly.html");
    const std::regex option(R"((^|\s)(--?[a-z][a-z-]*))");
    std::set<std::string> options;
    for (std::sregex_iterator m(help.begin(), help.end(), option), end; m != end; ++m) options.insert((*m)[2]);
    EXPECT_GT(options.size(), 40u);
    for (const std::string& o : options) EXPECT_NE(page.find("<code>" + o), std::string::npos) << o;
}

TEST(SitePages, TheUtmGridPicture) {
    const QImage grid = DrawUtmGrid(720);  // two pixels a degree
    ASSERT_EQ(grid.size(), QSize(720, 360));
    const QColor edge(0x55, 0x66, 0x77), equator(0xC0, 0x30, 0x30), cap(0xDD, 0xDD, 0xDD);
    EXPECT_EQ(grid.pixelColor(12, 102), edge);      // 174 W: between zones 1 and 2
    EXPECT_NE(grid.pixelColor(6, 102), edge);       // inside zone 1
    EXPECT_EQ(grid.pixelColor(366, 60), edge);      // 3 E, 60 N (band V): 31V | 32V
    EXPECT_NE(grid.pixelColor(372, 60), edge);      // 6 E there: inside the widened 32V
    EXPECT_EQ(grid.pixelColor(100, 180), equator);
    EXPECT_EQ(grid.pixelColor(5, 5), cap);          // north of 84 N
    EXPECT_EQ(grid.pixelColor(5, 355), cap);        // south of 80 S
}

}  // namespace
}  // namespace tessaly
