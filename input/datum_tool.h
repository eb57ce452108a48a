#pragma once
// Conversion of the input's coordinates (geographic or UTM, on a catalogue datum)
// to WGS 84 longitude and latitude.

#include <cstdint>
#include <stdexcept>

namespace tessaly {

class ProjectedInput;

// Geographic input whose numbers cannot be longitude and latitude: the data are
// almost certainly projected, and converting them would write nonsense.
class NotGeographicError : public std::runtime_error {
public:
    NotGeographicError(double x, double y);
};

// Throws NotGeographicError when x and y cannot be longitude and latitude.
void RequireGeographicRange(double x, double y);

struct DatumParams {
    double A = 0;   // semi-major axis, metres
    double B = 0;   // semi-minor axis
    double F = 0;   // flattening
    double E2 = 0;  // first eccentricity squared
    double DX = 0, DY = 0, DZ = 0;  // shift to WGS 84, metres
};

struct GeodeticPoint {
    double latitude = 0;   // degrees
    double longitude = 0;  // degrees
    double height = 0;     // metres
};

struct LonLat {
    double longitude = 0;  // degrees
    double latitude = 0;   // degrees
};

class TDatumTool {
public:
    // The input's coordinate system; set before Prepare.
    int SourceDatum = 0;      // catalogue number, 1..221
    bool Geographic = true;   // false: UTM easting/northing in metres
    std::uint8_t UtmZone = 0; // 1..60
    bool North = true;
    // Set: the input is in a system PROJ converts; its results are then shifted
    // from `SourceDatum` like geographic input, unless PROJ reached WGS 84 itself.
    const ProjectedInput* Projected = nullptr;

    int TargetDatum = 0;

    static void LoadDatum(int number, DatumParams& params);
    void Prepare();

    // Standard Molodensky shift from the source datum to WGS 84.
    GeodeticPoint MolodenskyShift(double latitude, double longitude, double height) const;

    // Inverse transverse Mercator series (UTM scale, false easting and northing)
    // on the given ellipsoid; no datum shift.
    static LonLat UTMToGeographic(int zone, bool north, double easting, double northing,
                                  const DatumParams& ellipsoid);

    // UTM on the source datum to WGS 84: the inverse series on the datum's own
    // ellipsoid, then the Molodensky shift unless the datum is WGS 1984.
    LonLat UTMToGeographicShifted(int zone, bool north, double easting, double northing) const;

    // The shapefile's X and Y to WGS 84 longitude and latitude. Throws
    // NotGeographicError for geographic input outside -360..360, -90..90.
    LonLat ConvertToWGS84(double x, double y) const;

private:
    LonLat GeographicToWGS84(double longitude, double latitude) const;

    DatumParams source_;
    DatumParams target_;
    double shiftX_ = 0, shiftY_ = 0, shiftZ_ = 0;
    double deltaA_ = 0;
    double deltaF_ = 0;
    double oneMinusF_ = 0;
};

}  // namespace tessaly
