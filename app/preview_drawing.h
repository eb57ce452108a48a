#pragma once
// The preview map's picture: every record of a shapefile in the current symbology,
// drawn into an image. No window, so tests and the command line draw it too.

#include "app/preview_layout.h"
#include "symbology/symbol_list.h"

#include <array>
#include <cstdint>
#include <string>

class QImage;

namespace tessaly {

// What is drawn: the loaded input as the wizard holds it.
struct PreviewInput {
    std::string ShapePath;
    std::string TablePath;
    std::uint8_t ShapeClass = 0;  // 1 points, 2 lines, 3 polygons: chooses the style
    std::array<double, 4> Extent{};
    bool ExtentValid = false;
    // Polygons carry label points, as the document will: for their longest outline,
    // or with EveryLabelPoint for each polygon of a record. Drawn as point marks.
    bool LabelPoints = false;
    bool EveryLabelPoint = false;
};

// A polygon ring is drawn from its first 1000 points at most.
inline constexpr int kPolygonPointLimit = 1000;

struct PreviewResult {
    PreviewLayout Layout;
    // Why the drawing stopped or went without classes; empty when all went well.
    // The picture keeps what was drawn before.
    std::string Problem;
};

// Fills the picture white and, when the input is valid, draws its records in file
// order with the styles of the symbol list (an empty classification field makes it
// a single symbol). Graduated classes build and release the list's ranges.
PreviewResult DrawPreview(QImage& picture, const PreviewInput& input, TSymbolList& symbols);

}  // namespace tessaly
