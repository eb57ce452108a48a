// Opens the web map window at an extent in the program's own web view, as the
// preview map does, and prints what the page drew (its body's data attributes)
// once it has loaded. Exit status 0 when it drew the extent's rectangle.
//   tessaly_web_map_check XMIN YMIN XMAX YMAX [--stay]
// With --stay the window stays open (for the screenshot script).

#include "app/site_scheme.h"
#include "app/web_map_window.h"

#include <QApplication>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    tessaly::RegisterSiteScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: tessaly_web_map_check XMIN YMIN XMAX YMAX [--stay]\n");
        return 2;
    }
    const std::array<double, 4> extent{std::atof(argv[1]), std::atof(argv[2]), std::atof(argv[3]), std::atof(argv[4])};
    const bool stay = argc > 5 && QByteArray(argv[5]) == "--stay";

    tessaly::WebMapLinks links;
    links.ShowExtentOnWebMap(10, 1, extent);
    auto* view = QApplication::activeWindow() ? QApplication::activeWindow()->findChild<QWebEngineView*>() : nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!view) view = w->findChild<QWebEngineView*>(QStringLiteral("WebBrowser1"));
    if (!view) return 1;

    int status = 1;
    QObject::connect(view, &QWebEngineView::loadFinished, [&](bool ok) {
        if (!ok || view->url().query().isEmpty()) return;  // the bare page first, if any
        // Give the tiles a moment to fail before reading what the page says.
        QTimer::singleShot(3000, view, [&] {
            view->page()->runJavaScript(
                QStringLiteral("JSON.stringify(Object.assign({message: document.getElementById('message').textContent},"
                               " document.body.dataset))"),
                [&](const QVariant& result) {
                    const QByteArray text = result.toString().toUtf8();
                    std::printf("%s\n", text.constData());
                    std::fflush(stdout);
                    status = text.contains("\"shape\":\"rectangle\"") ? 0 : 1;
                    if (!stay) QCoreApplication::exit(status);
                });
        });
    });
    QTimer::singleShot(60000, [&] { QCoreApplication::exit(status); });
    return QApplication::exec() == 0 && status == 0 ? 0 : 1;
}
