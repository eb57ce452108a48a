#pragma once
// Graduated classes that follow the data: quantiles and natural breaks over the
// sorted values of a field, and the class texts that keep every value in the
// class its method gave it. Pure functions over plain values.

#include <cstddef>
#include <string>
#include <vector>

namespace tessaly {

enum class ClassMethod { EqualInterval, Quantile, NaturalBreaks };

// A partition of ascending values into classes: class k holds the values from
// ends[k - 1] (0 for the first class) up to one before ends[k]. Equal values
// always share a class, and no class is empty; with fewer distinct values than
// classes there is one class per distinct value.
using ClassEnds = std::vector<std::size_t>;

// Classes of (as far as ties allow) equally many values.
ClassEnds QuantileClasses(const std::vector<double>& sorted, int classCount);

// The classes with the least sum of squared deviations from their means: the
// exact optimum, in O(classes * n log n) after the sort.
ClassEnds NaturalBreakClasses(const std::vector<double>& sorted, int classCount);

// The "low : high" texts with `digits` decimals: the first low is the smallest
// value, the last high the largest, and every inner bound lies between the last
// value of one class and the first of the next, printed so that it still does
// wherever `digits` decimals can tell those two values apart.
std::vector<std::string> ClassTexts(const std::vector<double>& sorted, const ClassEnds& ends, int digits);

}  // namespace tessaly
