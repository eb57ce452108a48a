#pragma once
// Colour ramps: named lists for unique values, stop lists for graduated classes,
// and the two-colour interpolation between stops. Pure functions.

#include "symbology/symbol_list.h"

#include <string>
#include <vector>

namespace tessaly {

constexpr int kUniqueRampCount = 9;    // numbered 1..9
constexpr int kGradRampCount = 29;     // numbered 0..28

std::vector<std::string> UniqueRampNames();
// Colour of class k (1-based) in named ramp r; colours repeat once a ramp is used
// up. A ramp number outside 1..9 gives red 250 for every class.
Colour UniqueRampColor(int ramp, int k);

// The stop text of graduated list n ("197379,8421504,16777215"); numbers outside
// 0..28 give list 0.
std::string GradRampStops(int n);
std::vector<std::string> GradRampTexts();

struct Rgb {
    int red = 0, green = 0, blue = 0;
};
Rgb SplitColor(Colour c);

// From `from` at lo to `to` at hi, each channel truncated toward zero and held to
// 0..255. With lo = hi (or a value that is not a number) the result is `from`.
Colour InterpolateColor(double v, double hi, double lo, Colour to, Colour from);

// The colour of a stop text at v, the stops spread evenly over lo..hi.
Colour RampColor(const std::string& stops, double v, double hi, double lo);

}  // namespace tessaly
