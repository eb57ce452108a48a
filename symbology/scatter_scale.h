#pragma once
// The scatter plot's arithmetic: the plot record, its scales on a picture of a
// given size, the axis labels and the ranges of the records that have both values.

#include "input/attribute_fields.h"
#include "symbology/symbol_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly {

struct TPlot {
    std::int32_t PlotHeight = 0;   // picture height - 50
    std::int32_t PlotWidth = 0;    // picture width - 100
    std::int32_t TopMargin = 10;
    std::int32_t LeftMargin = 90;
    std::int32_t BottomMargin = 40;
    double XMin = 0;
    double YMin = 0;
    double XMax = 0;
    double YMax = 0;
    double XScale = 0;             // data units per pixel; 0 when every X value is the same
    double YScale = 0;
    Colour BackgroundColor = 16777215;
    Colour AxisColor = 0;
    Colour PointColor = 255;
    std::string XField;
    std::string YField;
};

inline constexpr int kPlotRightMargin = 10;

// Sizes the plot to a picture of width x height and sets both scales.
void FitPlot(TPlot& plot, int width, int height);

// Pixel of a value. A field with one value has no scale: its values sit in the
// middle of the axis.
int PlotX(const TPlot& plot, double value);
int PlotY(const TPlot& plot, double value);

struct AxisLabel {
    double value;
    std::string text;  // with 1 decimal
};

// 0..5 fifths of the X range; the one value when the range has no width.
std::vector<AxisLabel> XLabels(const TPlot& plot);
// 0..10 tenths of the Y range; the one value when the range has no width.
std::vector<AxisLabel> YLabels(const TPlot& plot);

// The ranges over the records whose X and Y values are both there (NaN is
// empty), and how many records are left out for an empty value.
struct PairRanges {
    ValueRange x;
    ValueRange y;
    long long leftOut = 0;
};
PairRanges RangesOfPairs(const std::vector<double>& xs, const std::vector<double>& ys);

}  // namespace tessaly
