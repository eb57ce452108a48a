#include "input/shape_type.h"

namespace tessaly {

std::string ShapeTypeName(std::int32_t code) {
    switch (ShapeTypeOf(code)) {
        case ShapeType::Null: return "Null";
        case ShapeType::Point: return "Point";
        case ShapeType::Polyline: return "Polyline";
        case ShapeType::Polygon: return "Polygon";
        case ShapeType::MultiPoint: return "MultiPoint";
        case ShapeType::PointZ: return "PointZ";
        case ShapeType::PolylineZ: return "PolylineZ";
        case ShapeType::PolygonZ: return "PolygonZ";
        case ShapeType::MultiPointZ: return "MultiPointZ";
        case ShapeType::PointM: return "PointM";
        case ShapeType::PolylineM: return "PolylineM";
        case ShapeType::PolygonM: return "PolygonM";
        case ShapeType::MultiPointM: return "MultiPointM";
        case ShapeType::MultiPatch: return "MultiPatch";
    }
    return "Unknown";
}

}  // namespace tessaly
