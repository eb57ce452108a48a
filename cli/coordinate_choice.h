#pragma once
// The input's coordinate system on the command line: --utm, --datum, --geographic
// or --srs when given, else the ".prj" beside the shapefile.

#include "cli/options.h"
#include "engine/conversion_choices.h"
#include "input/prj_reader.h"

#include <string>
#include <vector>

namespace tessaly::cli {

// Throws std::invalid_argument for contradicting options or an --srs that cannot
// be used. A ".prj" that cannot be read adds a note naming it and why, and the
// default (longitude/latitude on WGS 1984) is used.
InputCoordinateSystem ChooseCoordinateSystem(const CommandLine& line, const std::string& shapefilePath,
                                             std::vector<std::string>& notes);

void ApplyCoordinateSystem(const InputCoordinateSystem& system, ConversionChoices& choices);

}  // namespace tessaly::cli
