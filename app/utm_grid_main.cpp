// Writes the UTM grid picture of the site's grid page: tessaly-utm-grid OUT.png

#include "app/utm_grid_picture.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Drawing text needs an application object, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tessaly-utm-grid OUT.png\n");
        return 2;
    }
    if (!tessaly::DrawUtmGrid(1440).save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "tessaly-utm-grid: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
