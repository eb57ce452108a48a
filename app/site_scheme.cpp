#include "app/site_scheme.h"

#include "app/site_pages.h"

#include <QDir>
#include <QFile>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace tessaly {

namespace {

QByteArray MimeType(const QString& path) {
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    if (suffix == QLatin1String("php") || suffix == QLatin1String("html")) return "text/html";
    if (suffix == QLatin1String("css")) return "text/css";
    if (suffix == QLatin1String("js")) return "text/javascript";
    if (suffix == QLatin1String("png")) return "image/png";
    if (suffix == QLatin1String("svg")) return "image/svg+xml";
    return "application/octet-stream";
}

class SiteSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        // cleanPath of an absolute path drops any ".." above the root, so the
        // request stays inside the site folder.
        QString path = QDir::cleanPath(QLatin1Char('/') + job->requestUrl().path());
        if (path == QLatin1String("/")) path = QStringLiteral("/index.html");
        const QString root = SiteRoot();
        auto* file = new QFile(root + path, job);
        if (root.isEmpty() || !file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        job->reply(MimeType(path), file);
    }
};

}  // namespace

void RegisterSiteScheme() {
    QWebEngineUrlScheme scheme(kSiteScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                    QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QWebEngineView* NewSiteView(QWidget* parent) {
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    if (!profile->urlSchemeHandler(kSiteScheme)) profile->installUrlSchemeHandler(kSiteScheme, new SiteSchemeHandler(profile));
    return new QWebEngineView(profile, parent);
}

}  // namespace tessaly
