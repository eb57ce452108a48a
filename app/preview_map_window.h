#pragma once
// The preview map: the input's shapes in the current symbology, a coordinate
// read-out under the mouse, and the way to the web map.

#include "app/preview_drawing.h"
#include "app/preview_layout.h"
#include "engine/user_messages.h"

#include <QImage>
#include <QWidget>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QTimer;
class QToolButton;
class QUrl;
class QWebEngineView;

namespace tessaly {

class WebMapHost;

class TfrMap : public QWidget {
public:
    // The symbol list and the read-out's coordinate system belong to the wizard;
    // webMap may be null (nothing is opened then).
    TfrMap(TSymbolList& symbols, std::function<ReadoutSystem()> readout, WebMapHost* webMap,
           UserMessages& messages, QWidget* parent = nullptr);
    ~TfrMap() override;

    // The design's outer size, used until the settings file gives another.
    static constexpr int kDesignWidth = 445;
    static constexpr int kDesignHeight = 412;

    void SetInput(const PreviewInput& input);
    // The wizard's centroid choice: polygons show the label points the document will carry.
    void SetLabelPoints(bool labelPoints, bool every) {
        input_.LabelPoints = labelPoints;
        input_.EveryLabelPoint = every;
    }
    const PreviewInput& Input() const { return input_; }

    bool PreviewActive() const { return previewActive_; }
    void SetPreviewActive(bool active) { previewActive_ = active; }

    // Draws the picture at the drawing area's size and brings the window to the front.
    void ShowPreview();
    void ShowDrawingPage();
    // The "web" page, its browser view made the first time it is needed.
    void ShowWebPage(const QUrl& address);
    bool ShowsWebPage() const;
    void RebuildPicture();
    void Redraw();

    const QImage& Picture() const { return picture_; }
    const PreviewLayout& Layout() const { return layout_; }
    bool ResizePending() const { return resizePending_; }
    int WebZoom() const { return webZoom_; }
    int WebViewType() const { return webViewType_; }
    // Writes the picture as PNG; false, with a message naming the file, on failure.
    bool SavePicture(const QString& path);

    // The handlers, by their controls' names.
    void Timer1Timer();
    void Image1MouseMove(int x, int y);
    void Image1DblClick();
    void OpenGMaps1Click();
    void SpeedButton6Click();
    void ZoomClick(int zoom);
    void ViewTypeClick(int viewType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void SavePictureClick();

    TSymbolList& symbols_;
    std::function<ReadoutSystem()> readout_;
    WebMapHost* webMap_;
    UserMessages& messages_;
    PreviewInput input_;
    PreviewLayout layout_;
    QImage picture_;
    bool previewActive_ = false;
    bool resizePending_ = false;
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
    int webZoom_ = 10;
    int webViewType_ = 1;

    QStackedWidget* Notebook1 = nullptr;
    QWidget* Panel2 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QLabel* LabelCoo = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Image1 = nullptr;
    QWidget* WebPage = nullptr;
    QWebEngineView* WebBrowser1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QList<QAction*> zoomItems_;
    QList<QAction*> viewTypeItems_;
    QTimer* Timer1 = nullptr;
};

}  // namespace tessaly
