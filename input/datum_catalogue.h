#pragma once
// The catalogue of 23 ellipsoids and 221 datums, and the list of UTM zones.
// Numbers are 1-based; a number outside the catalogue gives WGS 84.

#include <string>
#include <vector>

namespace tessaly {

constexpr int kDatumCount = 221;
constexpr int kWgs1984Datum = 219;
constexpr int kWgs84Ellipsoid = 23;

struct Ellipsoid {
    double a = 0;  // semi-major axis, metres
    double f = 0;  // flattening
    std::string name;
};

struct Datum {
    int ellipsoid = kWgs84Ellipsoid;
    double dx = 0, dy = 0, dz = 0;  // shift to WGS 84, metres
    std::string region;
    std::string name;
};

Ellipsoid GetEllipsoid(int number);
Datum GetDatum(int number);
std::string DatumEllipsoidName(int number);

// "Adindan Burkina Faso", ..., "Zanderij Suriname"; position p is datum p + 1.
void FillDatums(std::vector<std::string>& list);
// "Zone 1" .. "Zone 60"; position p is zone p + 1.
void FillUTMZones(std::vector<std::string>& list);

double SemiMinorAxis(double a, double f);
double EccentricitySquared(double f);

}  // namespace tessaly
