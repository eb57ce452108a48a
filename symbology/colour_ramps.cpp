#include "symbology/colour_ramps.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tessaly {

namespace {

struct NamedRamp {
    const char* name;
    std::vector<Colour> colours;
};

const std::vector<NamedRamp>& UniqueRamps() {
    static const std::vector<NamedRamp> ramps = {
        {"Harvested",
         {4810176, 55295, 7059389, 6796791, 9814990, 1940429, 9234160, 6205351,
          5804224, 1262987, 38572, 6916969, 1337739, 35723, 12844031, 5681341,
          52956, 13036286, 11454463, 5617318, 26587, 41445, 11785207, 2458483,
          8698545}},
        {"Pastels",
         {13816530, 12632221, 11192287, 9949601, 10921698, 13346507, 10790142, 13741224,
          10148040, 14206195, 6218217, 15658734, 7973824, 8380898, 16703924, 16702952,
          15466209, 8583166, 12844995, 8912590, 11796108}},
        {"Minerales",
         {9144819, 13500027, 8106163, 8763977, 16702208, 12222340, 6924542, 12893207,
          7170268, 3964968, 4430784, 12611444, 10263708, 10878701, 5103616, 13543814,
          10320819, 11786399, 7780094, 7444160, 16699271, 13084416, 14001846, 14440658,
          8614746}},
        {"Fruits and Vegetables",
         {239, 62974, 44542, 7798272, 8895742, 6908414, 49666, 11664896,
          10878701, 11533999, 10526974, 29438, 49150, 12844031, 755384}},
        {"Cool Tones",
         {16696312, 16711273, 16700114, 13762153, 16688631, 16688805, 10742272, 12763648,
          13544686, 14548655, 16711378, 16702895, 11861732}},
        {"Warm Tones",
         {29438, 4605694, 6940670, 2656510, 24017, 45521, 12842494, 10866174,
          4973310, 199, 6530490, 65265, 6935294, 1262987, 1337739}},
        {"Autum Leaves",
         {30974, 229, 51694, 21166, 26587, 254, 41445, 2063589,
          7444160, 1324119, 5305598, 5275315, 2631791}},
        {"Rainforest",
         {65175, 2458483, 56322, 5945981, 6203703, 43325, 65280, 6291171,
          6356577, 10280960, 54962, 5242510, 22858, 65235, 9240144, 5617318,
          12844995, 3044936, 25601, 5605247, 34704, 53983, 8698545}},
        {"The High Seas",
         {15597056, 5523200, 13084416, 16685312, 16699271, 8864256, 10839040, 15138479,
          16662528, 13729280, 8489472, 14192974, 16700672, 15466209, 16677888, 8756051,
          13543814, 11786399, 15022592}},
    };
    return ramps;
}

// Stops from the colour of the lowest values to that of the highest.
const char* const kGradRamps[] = {
    "197379,8421504,16777215",
    "16763338,14682384",
    "15131087,9397809",
    "15789494,9702924",
    "11069933,3296105",
    "16119040,16063766,16056557",
    "48127,5046527,10485995,16711680",
    "13238218,1231893",
    "15332828,3565861",
    "8059903,201331",
    "13232639,816880",
    "13821946,2507693",
    "14606079,988052",
    "13434092,1691553",
    "11398613,3173986",
    "16565756,13041863",
    "15119837,15864179",
    "14731775,6491335",
    "2309111,65535,65314,16775941,16717069,16187647",
    "47103,3159295,11665622,16711680",
    "16117012,16200485,16056557",
    "12836478,12910591,9895935,7980249,3630988,11900595",
    "9695989,26367,12125685,14684817,12196916",
    "3888836,258300,56862,8691999,8008972",
    "7935,1900539,16776960,16717844",
    "8060920,1827661,11045915,8000784",
    "10067199,10081791,10091775,14876602,16768668,16752281",
    "6135416,9625304,9295858,8495828,9016521,16247034",
    "16765439,16711927,16711735,16774932,65306,65510,28139,6028",
};

}  // namespace
std::vector<std::string> UniqueRampNames() {
    std::vector<std::string> names;
    for (const NamedRamp& r : UniqueRamps()) names.push_back(r.name);
    return names;
}

Colour UniqueRampColor(int ramp, int k) {
    if (ramp < 1 || ramp > kUniqueRampCount) return 250;
    const std::vector<Colour>& colours = UniqueRamps()[static_cast<std::size_t>(ramp - 1)].colours;
    const int n = static_cast<int>(colours.size());
    const int index = k >= 1 ? (k - 1) % n : 0;
    return colours[static_cast<std::size_t>(index)];
}

std::string GradRampStops(int n) { return kGradRamps[n >= 0 && n < kGradRampCount ? n : 0]; }

std::vector<std::string> GradRampTexts() { return {std::begin(kGradRamps), std::end(kGradRamps)}; }

Rgb SplitColor(Colour c) {
    return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
}

Colour InterpolateColor(double v, double hi, double lo, Colour to, Colour from) {
    const double off = v - lo;
    const double span = hi - lo;
    if (span == 0) return from;
    const Rgb a = SplitColor(from), b = SplitColor(to);
    // Held to 0..255 as doubles first, so no out-of-range value meets an integer;
    // a value that is not a number moves no channel.
    auto channel = [&](int f, int t) {
        double x = std::trunc(static_cast<double>(t - f) * off / span);
        if (std::isnan(x)) x = 0;
        return static_cast<Colour>(std::clamp(static_cast<double>(f) + x, 0.0, 255.0));
    };
    return channel(a.red, b.red) | channel(a.green, b.green) << 8 | channel(a.blue, b.blue) << 16;
}

Colour RampColor(const std::string& stops, double v, double hi, double lo) {
    std::vector<Colour> c;
    for (std::size_t start = 0; start <= stops.size();) {
        const std::size_t comma = std::min(stops.find(',', start), stops.size());
        c.push_back(static_cast<Colour>(std::stoul(stops.substr(start, comma - start))));
        start = comma + 1;
    }
    const int k = static_cast<int>(c.size());
    if (k == 1 || std::isnan(v) || v <= lo) return c.front();
    if (v >= hi) return c.back();
    if (k == 2) return InterpolateColor(v, hi, lo, c[1], c[0]);
    const double step = (hi - lo) / (k - 1);
    // lo < v < hi here; but on a range so narrow that the step underflows the
    // ratio is infinite, and such a class takes the first stop.
    const double segment = std::trunc((v - lo) / step);
    if (!std::isfinite(segment)) return c.front();
    const int j = std::clamp(static_cast<int>(segment) + 1, 1, k - 1);
    return InterpolateColor(v, lo + j * step, lo + (j - 1) * step, c[static_cast<std::size_t>(j)],
                            c[static_cast<std::size_t>(j - 1)]);
}

}  // namespace tessaly
