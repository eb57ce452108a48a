#pragma once
// What the histogram and the scatter plot share: the range of the values that
// are there (NaN marks an empty value), the bottom-bar text about the others,
// and a safe truncation of a data offset to a pixel offset.

#include "input/attribute_fields.h"

#include <string>
#include <vector>

namespace tessaly {

// Smallest and largest of the values that are not NaN; count says how many there are.
ValueRange RangeOfValues(const std::vector<double>& values);

// "3 empty values left out", "1 empty value left out"; empty when none.
std::string EmptyValuesText(long long leftOut);

// trunc(offset) as a pixel offset; offsets far outside any picture (and NaN, from
// a range too wide for a double) are held to a bound, never cast out of range.
int TruncPixel(double offset);

}  // namespace tessaly
