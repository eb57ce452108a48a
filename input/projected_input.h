#pragma once
// Coordinates in a system the catalogue cannot convert, taken by PROJ to the
// system's own longitude and latitude, or all the way to WGS 84.

#include "input/datum_tool.h"
#include "input/proj_context.h"

#include <string>

namespace tessaly {

class ProjectedInput {
public:
    // definition: what PROJ reads (WKT, PROJ string, "EPSG:n"); source names it in
    // messages. toWgs84: PROJ also does the datum shift, by the best transformation
    // that needs no grid and no network. Throws CoordinateSystemError.
    ProjectedInput(const std::string& definition, bool toWgs84, const std::string& source);

    // Longitude and latitude in degrees; not finite when PROJ cannot convert the point.
    LonLat ToGeographic(double x, double y) const;

    // true: the results are WGS 84 already.
    bool ReachesWgs84() const { return toWgs84_; }
    // The input itself is longitude/latitude (a datum or unit the catalogue lacks).
    bool GeographicSource() const { return geographicSource_; }
    // PROJ's name of the operation, for the note that says how the input was shifted.
    const std::string& OperationName() const { return operationName_; }

private:
    ProjContext context_;
    ProjObject operation_;
    bool toWgs84_;
    bool geographicSource_ = false;
    std::string operationName_;
};

}  // namespace tessaly
