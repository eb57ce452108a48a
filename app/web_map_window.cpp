#include "app/web_map_window.h"

#include "app/site_pages.h"
#include "app/site_scheme.h"
#include "app/web_addresses.h"

#include <QVBoxLayout>
#include <QWebEngineView>

namespace tessaly {

TfrGMaps::TfrGMaps(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("TfrGMaps"));
    setWindowTitle(QStringLiteral("Tessaly-Web Map View"));
    resize(487, 389);
    // Left open, it must not keep the program running after the wizard closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void TfrGMaps::ShowOnTop() {
    show();
    raise();
    activateWindow();
}

void TfrGMaps::Navigate(const QUrl& address) {
    if (WebBrowser1)
        WebBrowser1->load(address);
    else
        pending_ = address;
}

void TfrGMaps::showEvent(QShowEvent* event) {
    if (!WebBrowser1) {
        WebBrowser1 = NewSiteView(this);
        WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
        layout()->addWidget(WebBrowser1);
        if (!pending_.isEmpty()) WebBrowser1->load(pending_);
    }
    QWidget::showEvent(event);
}

WebMapLinks::WebMapLinks(MakeWindow makeWindow) : makeWindow_(std::move(makeWindow)) {}

void WebMapLinks::OpenWebMap() {
    if (!window_) {
        window_ = makeWindow_();
        window_->Navigate(WebMapBaseUrl());
    }
    window_->ShowOnTop();
}

void WebMapLinks::ShowExtentOnWebMap(int zoom, int viewType, const std::array<double, 4>& extent) {
    if (!window_) window_ = makeWindow_();
    window_->ShowOnTop();
    if (const auto query = WebMapExtentQuery(zoom, viewType, extent))
        window_->Navigate(SiteViewUrl(kWebMapPage + *query));
}

void WebMapLinks::ShowPointOnWebMap(int zoom, int viewType, double latitude, double longitude) {
    if (!window_) OpenWebMap();
    if (const auto query = WebMapPointQuery(zoom, viewType, latitude, longitude))
        window_->Navigate(SiteViewUrl(kWebMapPage + *query));
}

}  // namespace tessaly
