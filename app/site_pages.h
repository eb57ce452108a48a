#pragma once
// The program's own web pages: where they are and how they are opened.

#include <QString>
#include <QUrl>

#include <string>

namespace tessaly {

// The scheme under which embedded views read the site folder, so that pages
// with ".php" names are shown as HTML.
inline constexpr const char* kSiteScheme = "tessaly";

// "site" beside the executable (the build tree), else the installed data folder
// "../share/tessaly/site"; empty when neither exists.
QString SiteRoot();
QString SiteRootFor(const QString& executableFolder);

// A page (path under the site folder, with its query) as a local file, for the
// user's browser.
QUrl SitePageUrl(const std::string& pathAndQuery);
// The same page under the program's own scheme, for embedded views.
QUrl SiteViewUrl(const std::string& pathAndQuery);

QUrl WebMapBaseUrl();
// The page the preview window shows at start-up.
QUrl StartPageAddress(const std::string& versionText, const std::string& installId);

// Asks the desktop to open the address in the user's browser; the result is
// not checked (nothing to tell the user that the desktop would not).
void OpenWebPage(const QUrl& address);

}  // namespace tessaly
