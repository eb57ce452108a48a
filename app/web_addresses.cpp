#include "app/web_addresses.h"

#include "input/number_text.h"

namespace tessaly {

namespace {

std::string Query(int zoom, int viewType, double latitude, double longitude) {
    std::string q = "?lat=";
    AppendFixed(q, latitude, 7);
    q += "&lon=";
    AppendFixed(q, longitude, 7);
    q += "&z=" + std::to_string(zoom) + "&t=" + std::to_string(viewType);
    return q;
}

}  // namespace

bool WebMapAccepts(double latitude, double longitude) {
    return longitude > -180.0 && longitude <= 180.0 && latitude > -89.0 && latitude <= 89.0;
}

std::optional<std::string> WebMapPointQuery(int zoom, int viewType, double latitude, double longitude) {
    if (!WebMapAccepts(latitude, longitude)) return std::nullopt;
    return Query(zoom, viewType, latitude, longitude);
}

std::optional<std::string> WebMapExtentQuery(int zoom, int viewType, const std::array<double, 4>& extent) {
    const auto [xmin, ymin, xmax, ymax] = extent;
    const double latitude = (ymin + ymax) / 2;
    const double longitude = (xmin + xmax) / 2;
    if (!WebMapAccepts(latitude, longitude)) return std::nullopt;
    std::string q = Query(zoom, viewType, latitude, longitude);
    q += "&dx=";
    AppendFixed(q, (xmax - xmin) / 2, 7);
    q += "&dy=";
    AppendFixed(q, (ymax - ymin) / 2, 7);
    return q;
}

std::string FeedbackQuery(const std::string& versionText) { return "?toolname=TESSALY:" + versionText; }

std::string StartPageQuery(const std::string& versionText, const std::string& installId) {
    return "?ver=" + versionText + "&id=" + installId;
}

std::vector<HelpMenuItem> HelpMenuItems(const std::string& versionText) {
    return {
        {"Howto1", "Help - How to...", kHelpPage},
        {"Homepage1", "Tessaly page", kProductPage},
        {"GoogleEarthrelated1", "Google Earth related", kGoogleEarthPage},
        {"SoftwareIndex1", "Software Index", kHomePage},
        {},
        {"Comments1", "Comments/Suggestions", kSuggestionsPage + FeedbackQuery(versionText)},
        {"Reportaproblem1", "Report a problem", kProblemReportPage + FeedbackQuery(versionText)},
        {},
        {"Disclaimer1", "Disclaimer", kDisclaimerPage},
        {"About1", "About", ""},
    };
}

}  // namespace tessaly
