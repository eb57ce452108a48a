#pragma once
// Raw rows of the ellipsoid and datum catalogue; use input/datum_catalogue.h.

#include <array>
#include <string_view>

namespace tessaly {

struct EllipsoidEntry {
    std::string_view name;
    double a;              // semi-major axis, metres
    double inverseFlattening;
};

struct DatumEntry {
    std::string_view name;
    std::string_view region;  // UTF-8
    int ellipsoid;            // 1-based number into kEllipsoids
    double dx, dy, dz;        // shift to WGS 84, metres
};

extern const std::array<EllipsoidEntry, 23> kEllipsoids;
extern const std::array<DatumEntry, 221> kDatums;

}  // namespace tessaly
