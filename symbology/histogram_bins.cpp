#include "symbology/histogram_bins.h"

#include "input/number_text.h"
#include "symbology/chart_values.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

std::optional<Histogram> CountHistogram(const std::vector<double>& values, const ValueRange& range,
                                        int binCount) {
    const double span = range.maximum - range.minimum;
    if (range.count == 0 || !(span > 0) || !std::isfinite(span)) return std::nullopt;
    Histogram h;
    h.minimum = range.minimum;
    h.maximum = range.maximum;
    h.binWidth = span / binCount;
    h.counts.assign(static_cast<std::size_t>(binCount), 0);
    for (const double v : values) {
        if (std::isnan(v)) continue;
        // Values outside the range cannot come from the range's own values, but are
        // kept in the end bins rather than written past them.
        const int bin = std::clamp(TruncPixel((v - h.minimum) / h.binWidth), 0, binCount - 1);
        ++h.counts[static_cast<std::size_t>(bin)];
        ++h.total;
    }
    h.largest = *std::max_element(h.counts.begin(), h.counts.end());
    return h;
}

HistogramScale::HistogramScale(const Histogram& histogram, int pictureWidth, int pictureHeight)
    : histogram_(histogram),
      plotHeight_(HistogramPlotHeight(pictureHeight)),
      xScale_((histogram.maximum - histogram.minimum) / HistogramPlotWidth(pictureWidth)),
      yScale_(static_cast<double>(histogram.largest) / plotHeight_) {}

int HistogramScale::X(double value) const {
    return TruncPixel((value - histogram_.minimum) / xScale_) + kHistogramLeftMargin + 1;
}

int HistogramScale::Y(double count) const {
    return plotHeight_ + kHistogramTopMargin - TruncPixel(count / yScale_);
}

double HistogramScale::OffsetAt(int x) const { return (x - kHistogramLeftMargin) * xScale_; }

std::string ShareText(long long count, long long total, int binCount) {
    const double share = static_cast<double>(count) / static_cast<double>(total) * 100;
    return FormatNumber(1, 1, share) + (binCount <= 12 ? " %" : "%");
}

std::vector<HistogramYLabel> HistogramYLabels(const HistogramScale& scale, long long largest) {
    const double step = largest >= 10 ? static_cast<double>(largest) / 10 : 1;
    std::vector<HistogramYLabel> labels;
    for (int i = 0; i <= 10; ++i) {
        const int top = scale.Y(i * step) - 10;
        // Below ten, the steps above the tallest bar are far above the picture.
        if (top < 0) continue;
        labels.push_back({top, FormatNumber(1, 0, i * step)});
    }
    return labels;
}

std::string HistogramReadOut(const Histogram& histogram, const HistogramScale& scale, int x) {
    if (x < kHistogramLeftMargin) return {};
    const int bin = std::max(TruncPixel(scale.OffsetAt(x) / histogram.binWidth) + 1, 1);
    const double low = histogram.minimum + (bin - 1) * histogram.binWidth;
    const double high = histogram.minimum + bin * histogram.binWidth;
    return "[" + FormatNumber(1, 0, low) + " : " + FormatNumber(1, 0, high) + "]";
}

}  // namespace tessaly
