#pragma once
// PROJ's functions, taken from libproj when a coordinate system first needs it.

#include <proj.h>

// Every PROJ function this program calls.
#define TESSALY_PROJ_FUNCTIONS(X)                                                                         \
    X(proj_cleanup) X(proj_clone) X(proj_context_create) X(proj_context_destroy) X(proj_context_errno)   \
    X(proj_context_errno_string) X(proj_context_get_database_path) X(proj_context_set_enable_network)    \
    X(proj_coord) X(proj_coordoperation_get_method_info) X(proj_coordoperation_get_param)                 \
    X(proj_coordoperation_get_param_count) X(proj_coordoperation_get_towgs84_values)                     \
    X(proj_coordoperation_is_instantiable) X(proj_create) X(proj_create_crs_to_crs_from_pj)               \
    X(proj_create_operation_factory_context) X(proj_create_operations) X(proj_crs_get_coordinate_system) \
    X(proj_crs_get_coordoperation) X(proj_crs_get_datum_forced) X(proj_crs_get_geodetic_crs)             \
    X(proj_crs_get_sub_crs) X(proj_cs_get_axis_count) X(proj_cs_get_axis_info) X(proj_destroy)          \
    X(proj_ellipsoid_get_parameters) X(proj_get_ellipsoid) X(proj_get_id_auth_name) X(proj_get_id_code)  \
    X(proj_get_name) X(proj_get_prime_meridian) X(proj_get_source_crs) X(proj_get_type) X(proj_is_crs)   \
    X(proj_list_destroy) X(proj_list_get) X(proj_list_get_count) X(proj_log_func) X(proj_log_level)      \
    X(proj_normalize_for_visualization) X(proj_operation_factory_context_destroy)                        \
    X(proj_operation_factory_context_set_grid_availability_use)                                          \
    X(proj_operation_factory_context_set_spatial_criterion) X(proj_prime_meridian_get_parameters)        \
    X(proj_trans)

namespace tessaly {

struct ProjApi {
#define TESSALY_PROJ_POINTER(name) decltype(&::name) name = nullptr;
    TESSALY_PROJ_FUNCTIONS(TESSALY_PROJ_POINTER)
#undef TESSALY_PROJ_POINTER
};

// Opens PROJ on the first call; throws SharedLibraryError when it cannot.
const ProjApi& Proj();
// Whether an earlier call has opened PROJ.
bool ProjOpened();

}  // namespace tessaly
