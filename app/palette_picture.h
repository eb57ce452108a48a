#pragma once
// The picture of the icon palette that the symbol drawings cut their icons from:
// 325 x 379 pixels, 12 columns and 14 rows of 26 x 26 cells on a 27-pixel pitch.

#include <QImage>
#include <QRect>

namespace tessaly {

// The cell of icon n (1-based, row by row, 12 to a row).
QRect PaletteCell(int n);

// Drawn once: cell n shows the program's own picture of palette icon n, the
// picture a KMZ carries.
const QImage& PalettePicture();

}  // namespace tessaly
