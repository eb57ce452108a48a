#include "app/utm_grid_picture.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <vector>

namespace tessaly {

namespace {

constexpr char kBandLetters[] = "CDEFGHJKLMNPQRSTUVWX";

// Longitude/latitude to the picture, plate carree.
struct Frame {
    double scale;  // pixels per degree
    QPointF At(double lon, double lat) const { return {(lon + 180.0) * scale, (90.0 - lat) * scale}; }
    QRectF Box(double west, double south, double east, double north) const {
        return QRectF(At(west, north), At(east, south));
    }
};

// The zone columns of one band; the bands V (Norway) and X (Svalbard) have
// irregular zones.
std::vector<std::array<double, 3>> BandZones(char band) {
    std::vector<std::array<double, 3>> zones;  // zone, west, east
    for (int zone = 1; zone <= 60; ++zone) zones.push_back({double(zone), -180.0 + 6 * (zone - 1), -174.0 + 6 * (zone - 1)});
    if (band == 'V') {
        zones[30] = {31, 0, 3};
        zones[31] = {32, 3, 12};
    } else if (band == 'X') {
        zones.erase(zones.begin() + 30, zones.begin() + 37);
        zones.insert(zones.begin() + 30, {{31, 0, 9}, {33, 9, 21}, {35, 21, 33}, {37, 33, 42}});
    }
    return zones;
}

}  // namespace

QImage DrawUtmGrid(int width) {
    QImage image(width, width / 2, QImage::Format_RGB32);
    image.fill(QColor(0xF4, 0xF4, 0xF4));
    const Frame frame{width / 360.0};
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(8, int(frame.scale * 2.4)));
    p.setFont(font);

    for (int b = 0; b < 20; ++b) {
        const char band = kBandLetters[b];
        const double south = -80.0 + 8 * b;
        const double north = band == 'X' ? 84.0 : south + 8;
        for (const auto& [zone, west, east] : BandZones(band)) {
            const bool even = (int(zone) + b) % 2 == 0;
            const QRectF box = frame.Box(west, south, east, north);
            p.fillRect(box, even ? QColor(0xCF, 0xE3, 0xF5) : QColor(0xE8, 0xF1, 0xDA));
            p.setPen(QColor(0x55, 0x66, 0x77));
            p.drawRect(box);
            if (box.width() >= frame.scale * 5) {
                p.setPen(QColor(0x33, 0x33, 0x33));
                p.drawText(box, Qt::AlignCenter, QString::number(int(zone)) + QLatin1Char(band));
            }
        }
    }
    // The polar caps lie outside the grid (polar stereographic instead).
    p.setPen(QColor(0x66, 0x66, 0x66));
    for (const QRectF& cap : {frame.Box(-180, 84, 180, 90), frame.Box(-180, -90, 180, -80)}) {
        p.fillRect(cap, QColor(0xDD, 0xDD, 0xDD));
        p.drawText(cap, Qt::AlignCenter, QStringLiteral("polar regions: outside the UTM grid"));
    }
    // The equator and the prime meridian.
    p.setPen(QPen(QColor(0xC0, 0x30, 0x30), 1));
    p.drawLine(frame.At(-180, 0), frame.At(180, 0));
    p.drawLine(frame.At(0, 84), frame.At(0, -80));
    return image;
}

}  // namespace tessaly
