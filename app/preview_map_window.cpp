#include "app/preview_map_window.h"

#include "app/site_scheme.h"
#include "app/web_map_host.h"
#include "widgets/named_widget.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace tessaly {

namespace {

constexpr int kTopBarHeight = 21;
constexpr int kResizeDelayMs = 1600;

QToolButton* TopBarButton(QWidget* parent, const char* name, const QString& text, const QString& hint, int left) {
    auto* b = Named(new QToolButton(parent), name, QRect(left, 0, 22, kTopBarHeight));
    b->setAutoRaise(true);
    b->setText(text);
    b->setToolTip(hint);
    return b;
}

}  // namespace

TfrMap::TfrMap(TSymbolList& symbols, std::function<ReadoutSystem()> readout, WebMapHost* webMap,
               UserMessages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      symbols_(symbols), readout_(std::move(readout)), webMap_(webMap), messages_(messages) {
    setObjectName(QStringLiteral("frMap"));
    setWindowTitle(QStringLiteral("Preview Map"));
    // Closing the wizard ends the program even while the preview is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(kDesignWidth, kDesignHeight);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    outer->addWidget(Notebook1);

    auto* drawingPage = new QWidget;
    drawingPage->setObjectName(QStringLiteral("Default"));
    auto* column = new QVBoxLayout(drawingPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    Panel2 = new QWidget(drawingPage);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(kTopBarHeight);
    SpeedButton6 = TopBarButton(Panel2, "SpeedButton6", QStringLiteral("\u2630"), QStringLiteral("Menu"), 0);
    SpeedButton7 = TopBarButton(Panel2, "SpeedButton7", QStringLiteral("\u2641"), QStringLiteral("Open GMaps"), 23);
    LabelCoo = new QLabel(Panel2);
    LabelCoo->setObjectName(QStringLiteral("LabelCoo"));
    LabelCoo->setGeometry(52, 3, 380, 15);
    column->addWidget(Panel2);
    Panel1 = new QWidget(drawingPage);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAutoFillBackground(true);
    QPalette white = Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(white);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);
    column->addWidget(Panel1, 1);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setCursor(Qt::CrossCursor);
    Image1->setMouseTracking(true);
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    Image1->installEventFilter(this);
    Notebook1->addWidget(drawingPage);

    WebPage = new QWidget;
    WebPage->setObjectName(QStringLiteral("web"));
    auto* webColumn = new QVBoxLayout(WebPage);
    webColumn->setContentsMargins(0, 0, 0, 0);
    Notebook1->addWidget(WebPage);

    BuildMenu();
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SpeedButton6Click(); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { OpenGMaps1Click(); });
    connect(Image1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(Image1->mapToGlobal(at)); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kResizeDelayMs);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    Timer1->start();
}

TfrMap::~TfrMap() = default;

void TfrMap::BuildMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    connect(PopupMenu1->addAction(QStringLiteral("Open GMaps")), &QAction::triggered, this, [this] { OpenGMaps1Click(); });

    QMenu* zoom = PopupMenu1->addMenu(QStringLiteral("Zoom"));
    auto* zoomGroup = new QActionGroup(zoom);
    for (int n = 5; n <= 15; ++n) {
        QAction* item = zoom->addAction(QString::number(n));
        item->setCheckable(true);
        item->setChecked(n == webZoom_);
        zoomGroup->addAction(item);
        zoomItems_.append(item);
        connect(item, &QAction::triggered, this, [this, n] { ZoomClick(n); });
    }

    QMenu* viewType = PopupMenu1->addMenu(QStringLiteral("View Type"));
    auto* viewGroup = new QActionGroup(viewType);
    int type = 1;
    for (const QString& name : {QStringLiteral("Map"), QStringLiteral("Satellite"), QStringLiteral("Hybrid")}) {
        QAction* item = viewType->addAction(name);
        item->setCheckable(true);
        item->setChecked(type == webViewType_);
        viewGroup->addAction(item);
        viewTypeItems_.append(item);
        connect(item, &QAction::triggered, this, [this, type] { ViewTypeClick(type); });
        ++type;
    }

    connect(PopupMenu1->addAction(QStringLiteral("Save Picture...")), &QAction::triggered, this,
            [this] { SavePictureClick(); });
}

void TfrMap::SetInput(const PreviewInput& input) {
    input_ = input;
    LabelCoo->clear();  // a position of the last input means nothing in the new one
}

void TfrMap::ShowPreview() {
    RebuildPicture();
    previewActive_ = true;
    show();
    raise();
    for (int i = 0; i < viewTypeItems_.size(); ++i) viewTypeItems_[i]->setChecked(i + 1 == webViewType_);
}

void TfrMap::ShowDrawingPage() { Notebook1->setCurrentIndex(0); }

bool TfrMap::ShowsWebPage() const { return Notebook1->currentIndex() == 1; }

void TfrMap::ShowWebPage(const QUrl& address) {
    Notebook1->setCurrentIndex(1);
    if (WebBrowser1 == nullptr) {
        WebBrowser1 = NewSiteView(WebPage);  // the start page is one of the program's own
        WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
        // The start page's links open in this view: a way back once one has been followed.
        auto* back = new QToolButton(WebPage);
        back->setObjectName(QStringLiteral("WebBack"));
        back->setText(QStringLiteral("← Back"));
        back->setToolButtonStyle(Qt::ToolButtonTextOnly);
        back->hide();
        connect(back, &QToolButton::clicked, WebBrowser1, &QWebEngineView::back);
        connect(WebBrowser1, &QWebEngineView::urlChanged, back,
                [this, back] { back->setVisible(WebBrowser1->history()->canGoBack()); });
        static_cast<QVBoxLayout*>(WebPage->layout())->addWidget(back, 0, Qt::AlignLeft);
        WebPage->layout()->addWidget(WebBrowser1);
    }
    WebBrowser1->load(address);
}

void TfrMap::RebuildPicture() {
    // The drawing area's true size, even before the window first shows.
    layout()->activate();
    Notebook1->currentWidget()->layout()->activate();
    picture_ = QImage(std::max(Panel1->width(), 0), std::max(Panel1->height(), 0), QImage::Format_RGB32);
    Image1->setGeometry(0, 0, picture_.width(), picture_.height());
    Redraw();
}

void TfrMap::Redraw() {
    if (picture_.isNull()) {
        layout_ = LayoutPreview(0, 0, input_.Extent);
    } else if (previewActive_ && input_.ExtentValid) {
        resizePending_ = false;
        layout_ = DrawPreview(picture_, input_, symbols_).Layout;
    } else {
        layout_ = LayoutPreview(picture_.width(), picture_.height(), input_.Extent);
        picture_.fill(Qt::white);
    }
    Image1->setPixmap(QPixmap::fromImage(picture_));
}

bool TfrMap::SavePicture(const QString& path) {
    if (picture_.isNull() || !picture_.save(path, "PNG")) {
        messages_.Error("Could not write the picture to " + path.toStdString());
        return false;
    }
    return true;
}

void TfrMap::SavePictureClick() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save Picture"), QString(),
                                                      QStringLiteral("PNG picture (*.png)"));
    if (path.isEmpty()) return;
    SavePicture(path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? path : path + QStringLiteral(".png"));
}

void TfrMap::Timer1Timer() {
    if (previewActive_ && input_.ExtentValid && resizePending_) {
        resizePending_ = false;
        RebuildPicture();
    }
}

void TfrMap::Image1MouseMove(int x, int y) {
    lastMouseX_ = x;
    lastMouseY_ = y;
    if (!previewActive_ || !input_.ExtentValid || !layout_.Usable()) return;
    const MapPoint at = PixelToMap(layout_, x, y);
    LabelCoo->setText(QString::fromStdString(ReadoutText(readout_(), at)));
}

void TfrMap::Image1DblClick() {
    if (!previewActive_ || !input_.ExtentValid || !layout_.Usable() || webMap_ == nullptr || !webMap_->WebMapOpen())
        return;
    const MapPoint at = PixelToMap(layout_, lastMouseX_, lastMouseY_);
    webMap_->ShowPointOnWebMap(webZoom_, webViewType_, at.y, at.x);
}

void TfrMap::OpenGMaps1Click() {
    if (webMap_ != nullptr) webMap_->ShowExtentOnWebMap(webZoom_, webViewType_, input_.Extent);
}

void TfrMap::SpeedButton6Click() {
    PopupMenu1->popup(QPoint(x() + SpeedButton6->x() + 10, y() + kTopBarHeight));
}

void TfrMap::ZoomClick(int zoom) {
    webZoom_ = zoom;
    for (QAction* item : zoomItems_) item->setChecked(item->text().toInt() == zoom);
}

void TfrMap::ViewTypeClick(int viewType) {
    webViewType_ = viewType;
    for (int i = 0; i < viewTypeItems_.size(); ++i) viewTypeItems_[i]->setChecked(i + 1 == viewType);
}

bool TfrMap::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Panel1) {
        if (event->type() == QEvent::Resize) resizePending_ = true;
        // The uncovered part of the drawing area rebuilds a picture left too small.
        if (event->type() == QEvent::MouseMove) Timer1Timer();
    } else if (watched == Image1) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            Image1MouseMove(at.x(), at.y());
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            Image1DblClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrMap::closeEvent(QCloseEvent* event) {
    // Hidden, never destroyed: the wizard reopens it with "Preview Map".
    previewActive_ = false;
    hide();
    event->ignore();
}

}  // namespace tessaly
