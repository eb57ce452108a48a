#pragma once
// The shape types of an ESRI shapefile, named once, and what each type means to
// the program: its geometry class and whether its records carry Z or M values.

#include <cstdint>
#include <string>

namespace tessaly {

enum class ShapeType : std::int32_t {
    Null = 0,
    Point = 1,
    Polyline = 3,
    Polygon = 5,
    MultiPoint = 8,
    PointZ = 11,
    PolylineZ = 13,
    PolygonZ = 15,
    MultiPointZ = 18,
    PointM = 21,
    PolylineM = 23,
    PolygonM = 25,
    MultiPointM = 28,
    MultiPatch = 31,
};

// A code as a file holds it, for a switch; codes outside the format stay as they are.
constexpr ShapeType ShapeTypeOf(std::int32_t code) { return static_cast<ShapeType>(code); }

// Geometry classes, as ShapeClass gives them; symbol kinds, writers and drawing go by them.
inline constexpr std::uint8_t kNoGeometry = 0, kPointClass = 1, kLineClass = 2, kPolygonClass = 3;

constexpr std::uint8_t ShapeClass(std::int32_t code) {
    switch (ShapeTypeOf(code)) {
        case ShapeType::Point: case ShapeType::MultiPoint: case ShapeType::PointZ:
        case ShapeType::MultiPointZ: case ShapeType::PointM: case ShapeType::MultiPointM:
            return kPointClass;
        case ShapeType::Polyline: case ShapeType::PolylineZ: case ShapeType::PolylineM:
            return kLineClass;
        case ShapeType::Polygon: case ShapeType::PolygonZ: case ShapeType::PolygonM:
            return kPolygonClass;
        default:
            return kNoGeometry;
    }
}

// Types whose records carry a Z value for every point.
constexpr bool ShapeTypeHasZ(std::int32_t code) {
    switch (ShapeTypeOf(code)) {
        case ShapeType::PointZ: case ShapeType::PolylineZ: case ShapeType::PolygonZ:
        case ShapeType::MultiPointZ: case ShapeType::MultiPatch:
            return true;
        default:
            return false;
    }
}

// Types whose records carry M values: the Z types, which may, and the M types.
constexpr bool ShapeTypeHasM(std::int32_t code) {
    switch (ShapeTypeOf(code)) {
        case ShapeType::PointM: case ShapeType::PolylineM: case ShapeType::PolygonM:
        case ShapeType::MultiPointM:
            return true;
        default:
            return ShapeTypeHasZ(code);
    }
}

// "Polygon", "PointZ", ... ; "Unknown" for codes that are not shape types.
std::string ShapeTypeName(std::int32_t code);

}  // namespace tessaly
