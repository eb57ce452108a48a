#pragma once
// The point, integer and real lists that carry one shapefile record's geometry.

#include "input/one_based_list.h"

#include <cstdint>

namespace tessaly {

struct TCXY {
    double X = 0;  // easting or longitude
    double Y = 0;  // northing or latitude
};

struct TNInteger {
    std::int32_t Value = 0;
};

struct TNDouble {
    double Value = 0;
};

class TListaXY : public OneBasedList<TCXY> {
public:
    void Add(double x, double y) { items_.push_back({x, y}); }
    // Euclidean length of the chain of points, in the units of the coordinates;
    // no closing segment back to the first point.
    double Length() const;
};

class TListaInt : public OneBasedList<TNInteger> {
public:
    void Add(std::int32_t v) { items_.push_back({v}); }
};

class TListaDouble : public OneBasedList<TNDouble> {
public:
    void Add(double v) { items_.push_back({v}); }
};

}  // namespace tessaly
