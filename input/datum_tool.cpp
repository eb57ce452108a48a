#include "input/datum_tool.h"

#include "input/datum_catalogue.h"
#include "input/number_text.h"
#include "input/projected_input.h"

#include <cmath>
#include <numbers>
#include <string>

namespace tessaly {

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

}  // namespace

// Longitudes up to 360 occur (0..360 data); the margin absorbs rounding at the edges.
void RequireGeographicRange(double x, double y) {
    constexpr double kMargin = 1e-6;
    if (std::isfinite(x) && std::isfinite(y) && (std::abs(x) > 360 + kMargin || std::abs(y) > 90 + kMargin))
        throw NotGeographicError(x, y);
}

NotGeographicError::NotGeographicError(double x, double y)
    : std::runtime_error("X " + ShortestText(x) + ", Y " + ShortestText(y) +
                         " cannot be longitude and latitude: the data look projected (choose UTM, or give their "
                         "coordinate system)") {}

void TDatumTool::LoadDatum(int number, DatumParams& params) {
    const Datum d = GetDatum(number);
    const Ellipsoid e = GetEllipsoid(d.ellipsoid);
    params.A = e.a;
    params.F = e.f;
    params.B = SemiMinorAxis(e.a, e.f);
    params.E2 = EccentricitySquared(e.f);
    params.DX = d.dx;
    params.DY = d.dy;
    params.DZ = d.dz;
}

void TDatumTool::Prepare() {
    LoadDatum(SourceDatum, source_);
    TargetDatum = kWgs1984Datum;
    LoadDatum(TargetDatum, target_);
    deltaA_ = target_.A - source_.A;
    deltaF_ = target_.F - source_.F;
    oneMinusF_ = 1 - source_.F;
    shiftX_ = source_.DX;
    shiftY_ = source_.DY;
    shiftZ_ = source_.DZ;
}

// The standard (not abridged) Molodensky formulas, as in DMA TR 8350.2.
GeodeticPoint TDatumTool::MolodenskyShift(double latitude, double longitude, double height) const {
    const double phi = latitude * kDegToRad;
    const double lambda = longitude * kDegToRad;
    const double s = std::sin(phi), c = std::cos(phi);
    const double sl = std::sin(lambda), cl = std::cos(lambda);
    const double a = source_.A, e2 = source_.E2;
    const double w = 1 - e2 * s * s;
    const double rn = a / std::sqrt(w);
    const double rm = a * (1 - e2) / std::pow(w, 1.5);

    const double dphi = (-shiftX_ * s * cl - shiftY_ * s * sl + shiftZ_ * c +
                         deltaA_ * rn * e2 * s * c / a +
                         deltaF_ * (rm / oneMinusF_ + rn * oneMinusF_) * s * c) /
                        (rm + height);
    const double dlambda = (-shiftX_ * sl + shiftY_ * cl) / ((rn + height) * c);
    const double dh = shiftX_ * c * cl + shiftY_ * c * sl + shiftZ_ * s - deltaA_ * a / rn +
                      deltaF_ * oneMinusF_ * rn * s * s;
    return {latitude + dphi * kRadToDeg, longitude + dlambda * kRadToDeg, height + dh};
}

// Inverse UTM series after Snyder, "Map Projections: A Working Manual" (1987), 8-18 to 8-25.
LonLat TDatumTool::UTMToGeographic(int zone, bool north, double easting, double northing,
                                   const DatumParams& ellipsoid) {
    constexpr double k0 = 0.9996;
    const double a = ellipsoid.A, b = ellipsoid.B, e2 = ellipsoid.E2;
    if (!north) northing = 10000000.0 - northing;
    const double e = std::sqrt(e2);
    const double lambda0 = 6.0 * zone - 183.0;
    const double x = easting - 500000.0;

    const double m = northing / k0;
    const double e4 = e2 * e2, e6 = e4 * e2;
    const double mu = m / (a * (1 - e2 / 4 - 3 * e4 / 64 - 5 * e6 / 256));
    const double r = std::sqrt(1 - e2);
    const double e1 = (1 - r) / (1 + r);
    const double e1_2 = e1 * e1, e1_3 = e1_2 * e1, e1_4 = e1_3 * e1;
    const double phi1 = mu + (3 * e1 / 2 - 27 * e1_3 / 32) * std::sin(2 * mu) +
                        (21 * e1_2 / 16 - 55 * e1_4 / 32) * std::sin(4 * mu) +
                        (151 * e1_3 / 96) * std::sin(6 * mu) +
                        (1097 * e1_4 / 512) * std::sin(8 * mu);

    const double ep2 = (e * a / b) * (e * a / b);
    const double sin1 = std::sin(phi1), cos1 = std::cos(phi1), tan1 = std::tan(phi1);
    const double c1 = ep2 * cos1 * cos1;
    const double t1 = tan1 * tan1;
    const double w = 1 - e2 * sin1 * sin1;
    const double n1 = a / std::sqrt(w);
    const double r1 = a * (1 - e2) / std::pow(w, 1.5);
    const double d = x / (n1 * k0);
    const double d2 = d * d, d3 = d2 * d, d4 = d3 * d, d5 = d4 * d, d6 = d5 * d;

    const double phi =
        phi1 - (n1 * tan1 / r1) *
                   (d2 / 2 - (5 + 3 * t1 + 10 * c1 - 4 * c1 * c1 - 9 * ep2) * d4 / 24 +
                    (61 + 90 * t1 + 298 * c1 + 45 * t1 * t1 - 252 * ep2 - 3 * c1 * c1) * d6 / 720);
    const double lambda = (d - (1 + 2 * t1 + c1) * d3 / 6 +
                           (5 - 2 * c1 + 28 * t1 - 3 * c1 * c1 + 8 * ep2 + 24 * t1 * t1) * d5 / 120) /
                          cos1;

    double latitude = phi * kRadToDeg;
    if (!north) latitude = -latitude;
    return {lambda0 + lambda * kRadToDeg, latitude};
}

LonLat TDatumTool::UTMToGeographicShifted(int zone, bool north, double easting,
                                          double northing) const {
    const LonLat local = UTMToGeographic(zone, north, easting, northing, source_);
    if (SourceDatum == kWgs1984Datum) return local;
    const GeodeticPoint shifted = MolodenskyShift(local.latitude, local.longitude, 0);
    return {shifted.longitude, shifted.latitude};
}

LonLat TDatumTool::ConvertToWGS84(double x, double y) const {
    if (Projected != nullptr) {
        if (Projected->GeographicSource()) RequireGeographicRange(x, y);
        const LonLat local = Projected->ToGeographic(x, y);
        return Projected->ReachesWgs84() ? local : GeographicToWGS84(local.longitude, local.latitude);
    }
    if (!Geographic) return UTMToGeographicShifted(UtmZone, North, x, y);
    RequireGeographicRange(x, y);
    return GeographicToWGS84(x, y);
}

LonLat TDatumTool::GeographicToWGS84(double longitude, double latitude) const {
    if (SourceDatum == kWgs1984Datum) return {longitude, latitude};
    const GeodeticPoint shifted = MolodenskyShift(latitude, longitude, 0);
    return {shifted.longitude, shifted.latitude};
}

}  // namespace tessaly
