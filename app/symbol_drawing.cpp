#include "app/symbol_drawing.h"

#include "app/palette_picture.h"
#include "engine/icon_palette.h"
#include "input/shape_type.h"

#include <QApplication>
#include <QPalette>

namespace tessaly {

QColor WindowsColour(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

void DrawSymbol(QPainter& p, const QRect& r, SymbolSize size, const TItemSym& s, std::uint8_t shapeClass) {
    // r is given as left, top, right, bottom with right and bottom past the last pixel.
    const int left = r.left(), top = r.top(), right = r.left() + r.width(), bottom = r.top() + r.height();
    const int m = (top + bottom) / 2;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r, QApplication::palette().color(QPalette::Button));
    if (shapeClass == kPointClass) {
        p.fillRect(QRect(QPoint(left + 10, m - 8), QPoint(left + 29, m + 7)), WindowsColour(s.IconColor));
        const QRect target = size == SymbolSize::Large ? QRect(QPoint(left + 45, top + 25), QPoint(left + 70, top + 50))
                                                       : QRect(QPoint(left + 45, top), QPoint(left + 60, top + 15));
        if (s.IconIndex >= 1 && s.IconIndex <= kPaletteIconCount)
            p.drawImage(target, PalettePicture(), PaletteCell(s.IconIndex));
    } else if (shapeClass == kLineClass) {
        p.setPen(QPen(WindowsColour(s.LineColor), s.LineWidth));
        p.drawLine(left + 3, m, right - 3, m);
    } else if (shapeClass == kPolygonClass) {
        p.setPen(QPen(WindowsColour(s.LineColor), s.LineWidth));
        p.setBrush(WindowsColour(s.FillColor));
        p.drawRect(QRect(QPoint(left + 10, top + 5), QPoint(right - 11, bottom - 6)));
    }
    p.restore();
}

}  // namespace tessaly
