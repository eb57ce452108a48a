#pragma once
// Addresses of the program's own pages, as paths under the site folder with
// their queries. Plain text in, plain text out: no window needed to test them.

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

inline constexpr const char* kWebMapPage = "/online/tessaly/tessaly_gmap.php";
inline constexpr const char* kStartPage = "/software/homepage/tessaly_home.php";
inline constexpr const char* kHomePage = "/index.html";
inline constexpr const char* kHelpPage = "/software/howto/tessaly.html";
inline constexpr const char* kProductPage = "/tessaly.html";
inline constexpr const char* kGoogleEarthPage = "/ge_cat.html";
inline constexpr const char* kUtmGridPage = "/library/utmgrid.html";
inline constexpr const char* kDisclaimerPage = "/software/share/disclaimer.html";
// Opened in the user's browser, which shows a local ".php" file as text or
// offers to save it; these two are kept under ".html" names.
inline constexpr const char* kSuggestionsPage = "/software/share/softsugest.html";
inline constexpr const char* kProblemReportPage = "/software/share/softreport.html";

// The web map centres only on points inside these bounds; anything else (a
// projected coordinate in metres, say) leaves the map as it was.
bool WebMapAccepts(double latitude, double longitude);

// "?lat=..&lon=..&z=..&t=.." for a point; nothing when it is out of bounds.
std::optional<std::string> WebMapPointQuery(int zoom, int viewType, double latitude, double longitude);
// The same with "&dx=..&dy=.." (half spans) for an extent Xmin, Ymin, Xmax, Ymax,
// centred on its middle; nothing when the middle is out of bounds.
std::optional<std::string> WebMapExtentQuery(int zoom, int viewType, const std::array<double, 4>& extent);

// "?toolname=TESSALY:" and the version, slashes and all.
std::string FeedbackQuery(const std::string& versionText);
// "?ver=..&id=..": read by the start page itself, nothing leaves the machine.
std::string StartPageQuery(const std::string& versionText, const std::string& installId);

// One entry of the help menu: a separator has no name; the About entry no address.
struct HelpMenuItem {
    std::string name;
    std::string caption;
    std::string address;  // path under the site folder, with its query
};
// The eight entries and two separators, top to bottom.
std::vector<HelpMenuItem> HelpMenuItems(const std::string& versionText);

}  // namespace tessaly
