#include "app/palette_picture.h"

#include "engine/icon_palette.h"
#include "engine/icon_pictures.h"

#include <QPainter>

namespace tessaly {

namespace {

constexpr int kColumns = 12;
constexpr int kPitch = 27;
constexpr int kCell = 26;

QImage DrawPalette() {
    QImage image(325, 379, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int n = 1; n <= kPaletteIconCount; ++n) {
        const QRect cell = PaletteCell(n);
        p.fillRect(cell, Qt::white);
        const std::string_view png = IconPicture(n);
        p.drawImage(cell, QImage::fromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size())));
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
