#include "input/projected_input.h"

#include <cmath>
#include <limits>

namespace tessaly {

namespace {

// The first of PROJ's candidate operations (they come best first) that needs no
// missing grid.
ProjObject BestOperationToWgs84(ProjContext& context, PJ* source, const std::string& name) {
    PJ_CONTEXT* ctx = context.Get();
    ProjObject wgs84(proj_create(ctx, "EPSG:4326"));
    PJ_OPERATION_FACTORY_CONTEXT* factory = proj_create_operation_factory_context(ctx, nullptr);
    if (!wgs84 || factory == nullptr) throw CoordinateSystemError(name + ": " + context.LastError());
    proj_operation_factory_context_set_grid_availability_use(ctx, factory,
                                                             PROJ_GRID_AVAILABILITY_DISCARD_OPERATION_IF_MISSING_GRID);
    proj_operation_factory_context_set_spatial_criterion(ctx, factory, PROJ_SPATIAL_CRITERION_PARTIAL_INTERSECTION);
    PJ_OBJ_LIST* list = proj_create_operations(ctx, source, wgs84.get(), factory);
    proj_operation_factory_context_destroy(factory);
    ProjObject best;
    if (list != nullptr) {
        for (int i = 0; i < proj_list_get_count(list) && !best; ++i) {
            ProjObject op(proj_list_get(ctx, list, i));
            if (op && proj_coordoperation_is_instantiable(ctx, op.get())) best = std::move(op);
        }
        proj_list_destroy(list);
    }
    if (!best) throw CoordinateSystemError(name + ": PROJ knows no way to WGS 84 that needs no grid files");
    return best;
}

// PROJ reads any projection name in WKT, but can only compute the methods it knows.
void RequireKnownProjection(ProjContext& context, PJ* crs, const std::string& source) {
    if (proj_get_type(crs) != PJ_TYPE_PROJECTED_CRS) return;
    const ProjObject conversion(proj_crs_get_coordoperation(context.Get(), crs));
    if (conversion && proj_coordoperation_is_instantiable(context.Get(), conversion.get())) return;
    const char* method = nullptr;
    if (conversion) proj_coordoperation_get_method_info(context.Get(), conversion.get(), &method, nullptr, nullptr);
    throw CoordinateSystemError(source + ": PROJ does not know the projection \"" +
                                std::string(method != nullptr ? method : "?") + "\"");
}

}  // namespace

ProjectedInput::ProjectedInput(const std::string& definition, bool toWgs84, const std::string& source)
    : context_(source), toWgs84_(toWgs84) {
    ProjObject crs = CreateCrs(context_, definition, source);
    PJ_CONTEXT* ctx = context_.Get();
    const PJ_TYPE type = proj_get_type(HorizontalCrs(context_, crs.get(), true).get());
    geographicSource_ = type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS;
    ProjObject operation;
    if (toWgs84) {
        const ProjObject horizontal = HorizontalCrs(context_, crs.get(), false);
        RequireKnownProjection(context_, HorizontalCrs(context_, crs.get(), true).get(), source);
        operation = BestOperationToWgs84(context_, horizontal.get(), source);
    } else {
        const ProjObject base = HorizontalCrs(context_, crs.get(), true);
        RequireKnownProjection(context_, base.get(), source);
        const ProjObject geographic(proj_crs_get_geodetic_crs(ctx, base.get()));
        if (geographic) operation.reset(proj_create_crs_to_crs_from_pj(ctx, base.get(), geographic.get(), nullptr, nullptr));
    }
    if (!operation) throw CoordinateSystemError(source + ": PROJ cannot convert from \"" + proj_get_name(crs.get()) +
                                                "\": " + context_.LastError());
    operationName_ = proj_get_name(operation.get());
    // Shapefiles hold easting (longitude) first, whatever order the system's axes have.
    operation_.reset(proj_normalize_for_visualization(ctx, operation.get()));
    if (!operation_) throw CoordinateSystemError(source + ": " + context_.LastError());
}

LonLat ProjectedInput::ToGeographic(double x, double y) const {
    const PJ_COORD out = proj_trans(operation_.get(), PJ_FWD, proj_coord(x, y, 0, 0));
    if (out.xy.x == HUGE_VAL || out.xy.y == HUGE_VAL)
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    return {out.lp.lam, out.lp.phi};
}

}  // namespace tessaly
