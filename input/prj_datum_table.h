#pragma once
// Which catalogue datum a coordinate system's datum is, by its EPSG code or its name.

#include <string>

namespace tessaly {

struct DatumIdentity {
    std::string authority;  // "EPSG", or empty
    std::string code;       // "6267", or empty
    std::string name;       // "North American Datum 1927", "D_North_American_1927", ...
};

// The catalogue number of the datum family's general mean; 0 when the catalogue
// does not hold the datum. The code decides when it is an EPSG code; otherwise the
// name, compared without case, spaces and punctuation (ESRI's "D_" prefix dropped).
int CatalogueDatumOf(const DatumIdentity& datum);

// The entry of the family of catalogue datum `family` (same datum name) whose shifts
// are the given ones to the metre, preferring `family` itself; `family` when none is.
int CatalogueEntryForShift(int family, double dx, double dy, double dz);

}  // namespace tessaly
