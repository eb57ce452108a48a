// The web map page in a real browser engine (headless Chromium): it centres
// where its query says and draws the extent or the point. No host resolves, so
// that it must also say, with or without a network, that no tiles could be loaded.

#include "test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

struct PageState {
    std::string body;     // the <body ...> tag with the page's data attributes
    std::string message;  // what the page says over the map
};

// Chromium shows a local ".php" file as a download, so the test reads the
// page's bytes under an ".html" name, beside the same Leaflet.
PageState LoadPage(const test::TempDir& dir, const std::string& query) {
    const fs::path page = dir / "site/online/tessaly/tessaly_gmap.html";
    if (!fs::exists(page)) {
        fs::create_directories(page.parent_path());
        fs::create_directories(dir / "site/javascript");
        fs::copy_file(fs::path(TESSALY_SITE_DIR) / "online/tessaly/tessaly_gmap.php", page);
        fs::create_directory_symlink(fs::read_symlink(fs::path(TESSALY_SITE_DIR) / "javascript/leaflet"),
                                     dir / "site/javascript/leaflet");
    }
    const std::string command =
        "chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-background-networking "
        "--disable-component-update --disable-sync --host-resolver-rules='MAP * ~NOTFOUND' --user-data-dir=" + (dir / "profile").string() +
        " --virtual-time-budget=4000 --dump-dom 'file://" + page.string() + query + "' 2>/dev/null";
    const std::string dom = test::RunCommand(command).output;
    std::smatch m;
    PageState state;
    if (std::regex_search(dom, m, std::regex("<body[^>]*>"))) state.body = m.str();
    if (std::regex_search(dom, m, std::regex("<div id=\"message\"[^>]*>([^<]*)<"))) state.message = m[1];
    return state;
}

TEST(WebMapPage, CentresOnTheQueryAndDrawsTheExtentOrThePoint) {
    test::TempDir dir;
    const PageState extent = LoadPage(dir, "?lat=40.0000000&lon=-110.0000000&z=10&t=1&dx=10.0000000&dy=10.0000000");
    EXPECT_NE(extent.body.find(R"(data-shape="rectangle")"), std::string::npos) << extent.body;
    EXPECT_NE(extent.body.find(R"(data-bounds="30,-120,50,-100")"), std::string::npos) << extent.body;
    EXPECT_NE(extent.body.find(R"(data-centre="40.0000000,-110.0000000")"), std::string::npos) << extent.body;
    EXPECT_NE(extent.body.find(R"(data-zoom="10")"), std::string::npos) << extent.body;
    EXPECT_NE(extent.body.find(R"(data-tiles="failed")"), std::string::npos) << extent.body;
    EXPECT_NE(extent.message.find("The background map could not be loaded"), std::string::npos) << extent.message;

    const PageState point = LoadPage(dir, "?lat=-33.8567844&lon=151.2152967&z=15&t=3");
    EXPECT_NE(point.body.find(R"(data-shape="marker")"), std::string::npos) << point.body;
    EXPECT_NE(point.body.find(R"(data-centre="-33.8567844,151.2152967")"), std::string::npos) << point.body;
    EXPECT_NE(point.body.find(R"(data-zoom="15")"), std::string::npos) << point.body;
    EXPECT_NE(point.body.find(R"(data-view-type="3")"), std::string::npos) << point.body;

    const PageState world = LoadPage(dir, "");
    EXPECT_NE(world.body.find(R"(data-shape="none")"), std::string::npos) << world.body;
    EXPECT_NE(world.body.find(R"(data-zoom="0")"), std::string::npos) << world.body;
}

}  // namespace
}  // namespace tessaly
