#pragma once

#include <ostream>
#include <string>

namespace tessaly::cli {

// Describes a shapefile and its attribute table on out. Throws the reader's or the
// table's error (naming the file) when either cannot be read to its end.
void PrintShapefileInfo(const std::string& shapefilePath, std::ostream& out);

// The datum catalogue, one entry a line: number, tab, name and region.
void PrintDatums(std::ostream& out);

}  // namespace tessaly::cli
