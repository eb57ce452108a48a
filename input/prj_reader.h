#pragma once
// The input's coordinate system from its ".prj" (or any definition PROJ reads):
// geographic or UTM on a catalogue datum where the catalogue's own arithmetic can
// convert it, otherwise a system that PROJ converts.

#include <string>

namespace tessaly {

enum class InputSystemKind {
    Geographic,   // longitude/latitude in degrees on `datum`
    Utm,          // UTM metres in `utmZone`/`north` on `datum`
    ThroughProj,  // PROJ takes the coordinates to geographic ones on `datum`, or with datum 0 to WGS 84
};

struct InputCoordinateSystem {
    InputSystemKind kind = InputSystemKind::Geographic;
    int datum = 219;  // catalogue number; 0 (through PROJ only): PROJ does the datum shift too
    int utmZone = 12;
    bool north = true;
    std::string definition;  // through PROJ: the definition PROJ reads
    std::string name;        // the system's name as PROJ gives it
    std::string unitName;    // unit of its coordinates ("metre", "US survey foot", "degree")
    std::string datumName;   // the datum's name as PROJ gives it
    std::string origin;      // where it came from: ", from wells.prj", ": no .prj"
};

// Longitude/latitude on WGS 1984, the choice when nothing says otherwise.
InputCoordinateSystem DefaultCoordinateSystem(const std::string& origin);

// Reads a definition (WKT in either dialect, a PROJ string, "EPSG:2277"). Throws
// CoordinateSystemError naming `source` and why: not readable, not a coordinate
// system, or a projection PROJ cannot invert.
InputCoordinateSystem RecogniseCoordinateSystem(const std::string& definition, const std::string& source,
                                                const std::string& origin);

// The ".prj" beside a shapefile (same name, either case of extension); empty when none.
std::string PrjPathOf(const std::string& shapefilePath);

// Reads a ".prj" file; throws CoordinateSystemError naming it (empty, too large, not WKT ...).
InputCoordinateSystem ReadPrjFile(const std::string& prjPath);

// What will be used, as one line: "UTM zone 14N, North American 1927 MEAN FOR CONUS
// (datum 133), from wells.prj".
std::string CoordinateSystemText(const InputCoordinateSystem& system);

// The preview's read-out of a point in the system's own projected units.
std::string ProjectedReadoutText(double x, double y);

}  // namespace tessaly
