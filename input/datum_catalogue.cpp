#include "input/datum_catalogue.h"

#include "input/datum_catalogue_data.h"

namespace tessaly {

Ellipsoid GetEllipsoid(int number) {
    if (number < 1 || number > static_cast<int>(kEllipsoids.size())) number = kWgs84Ellipsoid;
    const EllipsoidEntry& e = kEllipsoids[static_cast<std::size_t>(number - 1)];
    return {e.a, 1.0 / e.inverseFlattening, std::string(e.name)};
}

Datum GetDatum(int number) {
    if (number < 1 || number > kDatumCount) number = kWgs1984Datum;
    const DatumEntry& d = kDatums[static_cast<std::size_t>(number - 1)];
    return {d.ellipsoid, d.dx, d.dy, d.dz, std::string(d.region), std::string(d.name)};
}

std::string DatumEllipsoidName(int number) { return GetEllipsoid(GetDatum(number).ellipsoid).name; }

void FillDatums(std::vector<std::string>& list) {
    list.clear();
    for (const DatumEntry& d : kDatums) list.push_back(std::string(d.name) + " " + std::string(d.region));
}

void FillUTMZones(std::vector<std::string>& list) {
    list.clear();
    for (int z = 1; z <= 60; ++z) list.push_back("Zone " + std::to_string(z));
}

double SemiMinorAxis(double a, double f) { return a - a * f; }

double EccentricitySquared(double f) { return 2 * f - f * f; }

}  // namespace tessaly
