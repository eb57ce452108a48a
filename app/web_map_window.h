#pragma once
// The web map window and the links that move it to an extent or a point.

#include "app/web_map_host.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QWebEngineView;

namespace tessaly {

// What the links need of the window; tests stand in for it so that they run
// without the web engine.
class WebMapWindow {
public:
    virtual ~WebMapWindow() = default;
    virtual void ShowOnTop() = 0;
    virtual void Navigate(const QUrl& address) = 0;
};

// "Tessaly-Web Map View": one web view filling a resizable window. The
// view (and with it the web engine) is created when the window is first
// shown. Closing only hides it.
class TfrGMaps : public QWidget, public WebMapWindow {
public:
    explicit TfrGMaps(QWidget* parent = nullptr);
    void ShowOnTop() override;
    void Navigate(const QUrl& address) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWebEngineView* WebBrowser1 = nullptr;
    QUrl pending_;
};

// The wizard's side of the web map: owns the window from its first use to
// shut-down and sends it only addresses inside the map's bounds.
class WebMapLinks : public WebMapHost {
public:
    using MakeWindow = std::function<std::unique_ptr<WebMapWindow>()>;
    explicit WebMapLinks(MakeWindow makeWindow = [] { return std::make_unique<TfrGMaps>(); });

    bool WebMapOpen() const override { return window_ != nullptr; }
    // Creates the window on the bare page when there is none; shows it on top.
    void OpenWebMap();
    void ShowExtentOnWebMap(int zoom, int viewType, const std::array<double, 4>& extent) override;
    void ShowPointOnWebMap(int zoom, int viewType, double latitude, double longitude) override;

private:
    MakeWindow makeWindow_;
    std::unique_ptr<WebMapWindow> window_;
};

}  // namespace tessaly
