#include "input/prj_reader.h"

#include "input/datum_catalogue.h"
#include "input/number_text.h"
#include "input/prj_datum_table.h"
#include "input/proj_context.h"
#include "input/projected_input.h"
#include "input/text_decoding.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

namespace fs = std::filesystem;

namespace tessaly {

namespace {

constexpr std::uintmax_t kLargestPrj = 64 * 1024;  // real ones are well under 2 KB
constexpr double kDegree = std::numbers::pi / 180;
constexpr int kTransverseMercator = 9807;

std::string Text(const char* s) { return s != nullptr ? s : ""; }

// The value of the conversion parameter with this EPSG code, in metres or degrees.
bool Parameter(PJ_CONTEXT* ctx, PJ* conversion, int code, double& value) {
    const int count = proj_coordoperation_get_param_count(ctx, conversion);
    for (int i = 0; i < count; ++i) {
        const char* name = nullptr;
        const char* authority = nullptr;
        const char* paramCode = nullptr;
        const char* unitName = nullptr;
        const char* unitAuthority = nullptr;
        const char* unitCode = nullptr;
        const char* unitCategory = nullptr;
        const char* valueText = nullptr;
        double v = 0, toSi = 1;
        if (!proj_coordoperation_get_param(ctx, conversion, i, &name, &authority, &paramCode, &v, &valueText, &toSi,
                                           &unitName, &unitAuthority, &unitCode, &unitCategory))
            continue;
        if (Text(paramCode) != std::to_string(code)) continue;
        value = Text(unitCategory) == "angular" ? v * toSi / kDegree : v * toSi;
        return true;
    }
    return false;
}

bool Near(double a, double b, double tolerance = 1e-9) { return std::abs(a - b) <= tolerance; }

struct Axis {
    std::string direction;
    double toSi = 0;
    std::string unitName;
};

Axis AxisOf(PJ_CONTEXT* ctx, PJ* crs, int index) {
    Axis axis;
    const ProjObject cs(proj_crs_get_coordinate_system(ctx, crs));
    if (!cs || proj_cs_get_axis_count(ctx, cs.get()) <= index) return axis;
    const char *name = nullptr, *abbreviation = nullptr, *direction = nullptr, *unitName = nullptr;
    const char *unitAuthority = nullptr, *unitCode = nullptr;
    proj_cs_get_axis_info(ctx, cs.get(), index, &name, &abbreviation, &direction, &axis.toSi, &unitName,
                          &unitAuthority, &unitCode);
    axis.direction = Text(direction);
    axis.unitName = Text(unitName);
    return axis;
}

// UTM as the catalogue's series computes it: transverse Mercator, scale 0.9996, false
// easting 500000 m, false northing 0 or 10000000 m, central meridian 6z - 183, in metres.
bool ReadUtm(PJ_CONTEXT* ctx, PJ* projected, InputCoordinateSystem& s) {
    const Axis east = AxisOf(ctx, projected, 0), north = AxisOf(ctx, projected, 1);
    if (east.direction != "east" || north.direction != "north" || east.toSi != 1 || north.toSi != 1) return false;
    const ProjObject conversion(proj_crs_get_coordoperation(ctx, projected));
    if (!conversion) return false;
    const char *method = nullptr, *authority = nullptr, *code = nullptr;
    proj_coordoperation_get_method_info(ctx, conversion.get(), &method, &authority, &code);
    if (Text(authority) != "EPSG" || Text(code) != std::to_string(kTransverseMercator)) return false;
    double origin = 0, meridian = 0, scale = 0, easting = 0, northing = 0;
    PJ* c = conversion.get();
    if (!Parameter(ctx, c, 8801, origin) || !Parameter(ctx, c, 8802, meridian) || !Parameter(ctx, c, 8805, scale) ||
        !Parameter(ctx, c, 8806, easting) || !Parameter(ctx, c, 8807, northing))
        return false;
    const double zone = (meridian + 183) / 6;
    if (!Near(origin, 0) || !Near(scale, 0.9996) || !Near(easting, 500000, 1e-6) ||
        !(Near(northing, 0, 1e-6) || Near(northing, 10000000, 1e-6)) || !Near(zone, std::round(zone), 1e-9) ||
        zone < 1 || zone > 60)
        return false;
    s.kind = InputSystemKind::Utm;
    s.utmZone = static_cast<int>(std::round(zone));
    s.north = Near(northing, 0, 1e-6);
    return true;
}

// The catalogue's shift is only right for the datum's own ellipsoid, Greenwich
// meridian and degrees; a system that differs in any of these goes through PROJ.
bool CatalogueFits(PJ_CONTEXT* ctx, PJ* base, int catalogue) {
    const ProjObject ellipsoid(proj_get_ellipsoid(ctx, base));
    double a = 0, b = 0, inverseF = 0;
    int computed = 0;
    if (!ellipsoid || !proj_ellipsoid_get_parameters(ctx, ellipsoid.get(), &a, &b, &computed, &inverseF)) return false;
    const Ellipsoid own = GetEllipsoid(GetDatum(catalogue).ellipsoid);
    if (std::abs(a - own.a) > 0.5 || std::abs(inverseF - 1 / own.f) > 1e-6) return false;
    const ProjObject meridian(proj_get_prime_meridian(ctx, base));
    double longitude = 0, toRadians = 0;
    const char* unit = nullptr;
    if (!meridian || !proj_prime_meridian_get_parameters(ctx, meridian.get(), &longitude, &toRadians, &unit) ||
        longitude != 0)
        return false;
    const ProjObject geodetic(proj_crs_get_geodetic_crs(ctx, base));
    return geodetic && Near(AxisOf(ctx, geodetic.get(), 0).toSi, kDegree, 1e-12);
}

int CatalogueDatum(PJ_CONTEXT* ctx, PJ* crs, PJ* base, std::string& datumName) {
    const ProjObject datum(proj_crs_get_datum_forced(ctx, base));
    if (!datum) return 0;
    datumName = Text(proj_get_name(datum.get()));
    int catalogue = CatalogueDatumOf(
        {Text(proj_get_id_auth_name(datum.get(), 0)), Text(proj_get_id_code(datum.get(), 0)), datumName});
    if (catalogue == 0 || !CatalogueFits(ctx, base, catalogue)) return 0;
    // TOWGS84 parameters that are a catalogue entry's shifts pick that regional entry.
    if (proj_get_type(crs) == PJ_TYPE_BOUND_CRS) {
        const ProjObject shift(proj_crs_get_coordoperation(ctx, crs));
        double values[7] = {};
        if (shift && proj_coordoperation_get_towgs84_values(ctx, shift.get(), values, 7, 0) &&
            values[3] == 0 && values[4] == 0 && values[5] == 0 && values[6] == 0)
            catalogue = CatalogueEntryForShift(catalogue, values[0], values[1], values[2]);
    }
    return catalogue;
}

std::string DatumText(int number) {
    const Datum d = GetDatum(number);
    std::string text = d.name;
    if (d.region != "Global Definition") text += " " + d.region;
    // The catalogue's texts are in the Windows code page.
    return TextDecoder().Decode(text) + " (datum " + std::to_string(number) + ")";
}

}  // namespace

InputCoordinateSystem DefaultCoordinateSystem(const std::string& origin) {
    InputCoordinateSystem s;
    s.origin = origin;
    return s;
}

InputCoordinateSystem RecogniseCoordinateSystem(const std::string& definition, const std::string& source,
                                                const std::string& origin) {
    ProjContext context(source);
    PJ_CONTEXT* ctx = context.Get();
    const ProjObject crs = CreateCrs(context, definition, source);
    const ProjObject horizontal = HorizontalCrs(context, crs.get(), false);
    const ProjObject base = HorizontalCrs(context, crs.get(), true);

    InputCoordinateSystem s;
    s.origin = origin;
    s.name = Text(proj_get_name(base.get()));
    s.datum = CatalogueDatum(ctx, horizontal.get(), base.get(), s.datumName);
    s.unitName = AxisOf(ctx, base.get(), 0).unitName;
    const PJ_TYPE type = proj_get_type(base.get());
    const bool geographic = type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS;
    if (!geographic && type != PJ_TYPE_PROJECTED_CRS)
        throw CoordinateSystemError(source + ": \"" + s.name + "\" is neither geographic nor projected");
    if (s.datum != 0) {
        if (geographic) return s;  // CatalogueFits has checked the degrees
        if (ReadUtm(ctx, base.get(), s)) return s;
    }
    s.kind = InputSystemKind::ThroughProj;
    s.definition = definition;
    // Made once here so that a projection PROJ cannot invert is refused at once.
    const ProjectedInput check(definition, s.datum == 0, source);
    return s;
}

std::string PrjPathOf(const std::string& shapefilePath) {
    for (const char* ext : {".prj", ".PRJ", ".Prj"}) {
        const fs::path p = fs::path(shapefilePath).replace_extension(ext);
        std::error_code ec;
        if (fs::is_regular_file(p, ec)) return p.string();
    }
    return {};
}

InputCoordinateSystem ReadPrjFile(const std::string& prjPath) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(prjPath, ec);
    if (ec) throw CoordinateSystemError(prjPath + ": cannot be read: " + ec.message());
    if (size > kLargestPrj)
        throw CoordinateSystemError(prjPath + ": " + std::to_string(size) + " bytes is too large for a coordinate system");
    std::ifstream in(prjPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) throw CoordinateSystemError(prjPath + ": cannot be read");
    std::string definition = text.str();
    while (!definition.empty() && static_cast<unsigned char>(definition.back()) <= ' ') definition.pop_back();
    if (definition.empty()) throw CoordinateSystemError(prjPath + ": the file is empty");
    return RecogniseCoordinateSystem(definition, prjPath, ", from " + fs::path(prjPath).filename().string());
}

std::string CoordinateSystemText(const InputCoordinateSystem& s) {
    switch (s.kind) {
        case InputSystemKind::Geographic:
            return "longitude/latitude, " + DatumText(s.datum) + s.origin;
        case InputSystemKind::Utm:
            return "UTM zone " + std::to_string(s.utmZone) + (s.north ? "N, " : "S, ") + DatumText(s.datum) + s.origin;
        case InputSystemKind::ThroughProj:
            if (s.datum == 0)
                return s.name + " through PROJ to WGS 84 (datum " + s.datumName + " is not in the catalogue)" + s.origin;
            return s.name + " through PROJ, datum " + std::to_string(s.datum) + s.origin;
    }
    return {};
}

std::string ProjectedReadoutText(double x, double y) {
    std::string text = "X: ";
    AppendFixed(text, x, 2);
    text += ", Y: ";
    AppendFixed(text, y, 2);
    return text;
}

}  // namespace tessaly
