#pragma once
// Pictures of one symbol, as the classes grid and the single-symbol page show it.

#include "symbology/symbol_list.h"

#include <QPainter>
#include <QRect>

namespace tessaly {

enum class SymbolSize { Large, Small };

// Draws the symbol for a layer of the given geometry class (1 points, 2 lines,
// 3 polygons) into r (right and bottom one past the last pixel).
void DrawSymbol(QPainter& painter, const QRect& r, SymbolSize size, const TItemSym& symbol,
                std::uint8_t shapeClass);

QColor WindowsColour(Colour c);

}  // namespace tessaly
