#include "app/site_pages.h"

#include "app/web_addresses.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace tessaly {

namespace {

// Splits "path?query" so that the query stays as written (slashes and colons
// unescaped).
QUrl WithQuery(QUrl url, const std::string& pathAndQuery) {
    const std::size_t mark = pathAndQuery.find('?');
    if (mark != std::string::npos) url.setQuery(QString::fromStdString(pathAndQuery.substr(mark + 1)));
    return url;
}

std::string PathPart(const std::string& pathAndQuery) { return pathAndQuery.substr(0, pathAndQuery.find('?')); }

}  // namespace

QString SiteRootFor(const QString& executableFolder) {
    for (const QString& candidate : {executableFolder + QStringLiteral("/site"),
                                     executableFolder + QStringLiteral("/../share/tessaly/site")}) {
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(QDir(candidate).absolutePath());
    }
    return {};
}

QString SiteRoot() { return SiteRootFor(QCoreApplication::applicationDirPath()); }

QUrl SitePageUrl(const std::string& pathAndQuery) {
    return WithQuery(QUrl::fromLocalFile(SiteRoot() + QString::fromStdString(PathPart(pathAndQuery))), pathAndQuery);
}

QUrl SiteViewUrl(const std::string& pathAndQuery) {
    QUrl url;
    url.setScheme(QString::fromLatin1(kSiteScheme));
    url.setPath(QString::fromStdString(PathPart(pathAndQuery)));
    return WithQuery(url, pathAndQuery);
}

QUrl WebMapBaseUrl() { return SiteViewUrl(kWebMapPage); }

QUrl StartPageAddress(const std::string& versionText, const std::string& installId) {
    return SiteViewUrl(kStartPage + StartPageQuery(versionText, installId));
}

void OpenWebPage(const QUrl& address) { QDesktopServices::openUrl(address); }

}  // namespace tessaly
