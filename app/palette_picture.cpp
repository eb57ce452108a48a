#include "app/palette_picture.h"

#include "engine/icon_palette.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>

namespace tessaly {

namespace {

constexpr int kColumns = 12;
constexpr int kPitch = 27;
constexpr int kCell = 26;

// One of eight outlines, so neighbouring icons differ in shape as well as colour.
QPainterPath Mark(int kind, const QRectF& r) {
    QPainterPath path;
    const QPointF c = r.center();
    const double h = r.width() / 2;
    switch (kind) {
        case 0: path.addEllipse(r); break;
        case 1: path.addRect(r.adjusted(1, 1, -1, -1)); break;
        case 2: path.addPolygon(QPolygonF({QPointF(c.x(), r.top()), r.bottomRight(), r.bottomLeft()})); break;
        case 3:
            path.addPolygon(QPolygonF({QPointF(c.x(), r.top()), QPointF(r.right(), c.y()),
                                       QPointF(c.x(), r.bottom()), QPointF(r.left(), c.y())}));
            break;
        case 4: {
            QPolygonF star;
            for (int i = 0; i < 10; ++i) {
                const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
                const double radius = i % 2 == 0 ? h : h * 0.45;
                star << QPointF(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
            }
            path.addPolygon(star);
            break;
        }
        case 5:  // a pushpin
            path.addEllipse(QRectF(r.left() + 2, r.top(), r.width() - 4, r.width() - 4));
            path.addPolygon(QPolygonF({QPointF(c.x() - 3, c.y()), QPointF(c.x() + 3, c.y()), QPointF(c.x(), r.bottom())}));
            break;
        case 6:
            path.addRect(QRectF(c.x() - h / 3, r.top(), 2 * h / 3, r.height()));
            path.addRect(QRectF(r.left(), c.y() - h / 3, r.width(), 2 * h / 3));
            break;
        default:
            path.addRoundedRect(r, 5, 5);
            break;
    }
    return path.simplified();
}

QImage DrawPalette() {
    QImage image(325, 379, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font("Liberation Sans");
    font.setPixelSize(8);
    p.setFont(font);
    for (int n = 1; n <= kPaletteIconCount; ++n) {
        const QRect cell = PaletteCell(n);
        p.fillRect(cell, Qt::white);
        const QColor colour = QColor::fromHsv((n * 47) % 360, 150 + (n * 13) % 100, 150 + (n * 29) % 100);
        p.setPen(QPen(colour.darker(160), 1));
        p.setBrush(colour);
        p.drawPath(Mark((n - 1) % 8, QRectF(cell.left() + 4, cell.top() + 2, 18, 16)));
        p.setPen(Qt::black);
        p.drawText(QRect(cell.left(), cell.bottom() - 8, cell.width(), 9), Qt::AlignCenter, QString::number(n));
    }
    return image;
}

}  // namespace

QRect PaletteCell(int n) {
    const int row = (n + kColumns - 1) / kColumns;
    const int column = n - kColumns * (row - 1);
    return {kPitch * (column - 1) + 1, kPitch * (row - 1) + 1, kCell, kCell};
}

const QImage& PalettePicture() {
    static const QImage picture = DrawPalette();
    return picture;
}

}  // namespace tessaly
