#include "input/prj_datum_table.h"

#include "input/datum_catalogue.h"

#include <array>
#include <cctype>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace tessaly {

namespace {

struct KnownDatum {
    int catalogue;
    std::initializer_list<int> epsgCodes;
    std::initializer_list<std::string_view> names;
};

// Each family maps to its general mean; the user can still pick a regional entry.
const std::array<KnownDatum, 15> kKnownDatums = {{
    {219, {6326}, {"World Geodetic System 1984", "World Geodetic System 1984 ensemble", "WGS 1984", "WGS 84"}},
    {218, {6322}, {"World Geodetic System 1972", "WGS 1972", "WGS 72"}},
    {133, {6267}, {"North American Datum 1927", "North American 1927", "NAD27"}},
    {140, {6269}, {"North American Datum 1983", "North American 1983", "NAD83"}},
    {64, {6230}, {"European Datum 1950", "European 1950", "ED50"}},
    {154, {6277}, {"Ordnance Survey of Great Britain 1936", "OSGB 1936", "OSGB36"}},
    {31, {6202}, {"Australian Geodetic Datum 1966", "Australian 1966", "AGD66"}},
    {32, {6203}, {"Australian Geodetic Datum 1984", "Australian 1984", "AGD84"}},
    {210, {6301}, {"Tokyo"}},
    {200, {6618, 6291}, {"South American Datum 1969", "South American 1969", "SAD69"}},
    {173, {6284}, {"Pulkovo 1942"}},
    {23, {6210}, {"Arc 1960"}},
    {73, {6272}, {"New Zealand Geodetic Datum 1949", "New Zealand 1949", "NZGD49"}},
    {91, {6299}, {"Ireland 1965", "TM65"}},
    {81, {6738, 6739}, {"Hong Kong 1963", "Hong Kong 1963(67)"}},
}};

std::string NormalisedName(std::string_view name) {
    if (name.size() > 2 && (name[0] == 'D' || name[0] == 'd') && name[1] == '_') name.remove_prefix(2);
    std::string out;
    for (const char c : name)
        if (std::isalnum(static_cast<unsigned char>(c))) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int ParsedCode(const std::string& code) {
    int value = 0;
    for (const char c : code) {
        if (c < '0' || c > '9' || value > 1000000) return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

int CatalogueDatumOf(const DatumIdentity& datum) {
    if (datum.authority == "EPSG" && ParsedCode(datum.code) > 0) {
        const int code = ParsedCode(datum.code);
        for (const KnownDatum& k : kKnownDatums)
            for (const int c : k.epsgCodes)
                if (c == code) return k.catalogue;
        return 0;
    }
    const std::string name = NormalisedName(datum.name);
    if (name.empty()) return 0;
    for (const KnownDatum& k : kKnownDatums)
        for (const std::string_view n : k.names)
            if (NormalisedName(n) == name) return k.catalogue;
    return 0;
}

int CatalogueEntryForShift(int family, double dx, double dy, double dz) {
    const auto matches = [&](const Datum& d) {
        return std::abs(d.dx - dx) < 0.5 && std::abs(d.dy - dy) < 0.5 && std::abs(d.dz - dz) < 0.5;
    };
    const Datum own = GetDatum(family);
    if (matches(own)) return family;
    for (int n = 1; n <= kDatumCount; ++n) {
        const Datum d = GetDatum(n);
        if (d.name == own.name && matches(d)) return n;
    }
    return family;
}

}  // namespace tessaly
