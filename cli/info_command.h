#pragma once

#include <ostream>
#include <string>

namespace tessaly::cli {

// Describes a shapefile and its attribute table on out. Throws the reader's or the
// table's error (naming the file) when either cannot be read to its end.
// coordinateSystem: what the conversion would use (CoordinateSystemText).
void PrintShapefileInfo(const std::string& shapefilePath, const std::string& coordinateSystem, std::ostream& out);

// The datum catalogue, one entry a line: number, tab, name and region.
void PrintDatums(std::ostream& out);

}  // namespace tessaly::cli
