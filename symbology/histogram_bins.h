#pragma once
// The histogram's arithmetic: equal-width bins over a field's range, the bars'
// place on the picture, the share and y-axis labels and the interval read-out.

#include "input/attribute_fields.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

inline constexpr int kFewestHistogramBins = 5;
inline constexpr int kMostHistogramBins = 15;

// The plot area: the y axis 50 pixels from the picture's left edge, 20 pixels
// free above and 10 below and right of it.
inline constexpr int kHistogramLeftMargin = 50;
inline constexpr int kHistogramTopMargin = 20;
inline int HistogramPlotHeight(int pictureHeight) { return pictureHeight - 30; }
inline int HistogramPlotWidth(int pictureWidth) { return pictureWidth - 60; }

struct Histogram {
    double minimum = 0;
    double maximum = 0;
    double binWidth = 0;
    std::vector<long long> counts;  // one per bin
    long long total = 0;
    long long largest = 0;          // the tallest bar's count
};

// Counts the values (NaN, an empty value, is left out) into binCount bins of
// range; the maximum falls into the last bin. Nothing when the range has no
// width: no values, one value, or all equal.
std::optional<Histogram> CountHistogram(const std::vector<double>& values, const ValueRange& range,
                                        int binCount);

// Where the histogram goes on a picture of the given size.
class HistogramScale {
public:
    HistogramScale(const Histogram& histogram, int pictureWidth, int pictureHeight);

    int PlotHeight() const { return plotHeight_; }
    int X(double value) const;   // of a value
    int Y(double count) const;   // of a count
    // The value offset from the minimum under picture column x.
    double OffsetAt(int x) const;

private:
    const Histogram& histogram_;
    int plotHeight_;
    double xScale_;
    double yScale_;
};

// The share of a bin over its bar: "18.2 %", or "18.2%" from 13 bins on where bars are narrow.
std::string ShareText(long long count, long long total, int binCount);

struct HistogramYLabel {
    int top;           // of the text
    std::string text;  // right-aligned 5 pixels left of the axis
};

// The count labels 0..10 steps that land on the picture.
std::vector<HistogramYLabel> HistogramYLabels(const HistogramScale& scale, long long largest);

// "[low : high]" of the bin under picture column x; empty left of the axis.
std::string HistogramReadOut(const Histogram& histogram, const HistogramScale& scale, int x);

}  // namespace tessaly
