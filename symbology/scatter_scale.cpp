#include "symbology/scatter_scale.h"

#include "input/number_text.h"
#include "symbology/chart_values.h"

#include <algorithm>
#include <cmath>

namespace tessaly {

namespace {

std::vector<AxisLabel> Labels(double minimum, double maximum, double scale, int steps) {
    if (scale == 0) return {{minimum, FormatNumber(1, 1, minimum)}};
    const double step = (maximum - minimum) / steps;
    std::vector<AxisLabel> labels;
    for (int i = 0; i <= steps; ++i) {
        const double v = minimum + i * step;
        labels.push_back({v, FormatNumber(1, 1, v)});
    }
    return labels;
}

}  // namespace

void FitPlot(TPlot& plot, int width, int height) {
    plot.PlotHeight = height - plot.BottomMargin - plot.TopMargin;
    plot.PlotWidth = width - plot.LeftMargin - kPlotRightMargin;
    plot.XScale = (plot.XMax - plot.XMin) / plot.PlotWidth;
    plot.YScale = (plot.YMax - plot.YMin) / plot.PlotHeight;
}

int PlotX(const TPlot& plot, double value) {
    const int offset = plot.XScale == 0 ? plot.PlotWidth / 2 : TruncPixel((value - plot.XMin) / plot.XScale);
    return offset + plot.LeftMargin + 1;
}

int PlotY(const TPlot& plot, double value) {
    const int offset = plot.YScale == 0 ? plot.PlotHeight / 2 : TruncPixel((value - plot.YMin) / plot.YScale);
    return plot.PlotHeight + plot.TopMargin - offset - 1;
}

std::vector<AxisLabel> XLabels(const TPlot& plot) { return Labels(plot.XMin, plot.XMax, plot.XScale, 5); }

std::vector<AxisLabel> YLabels(const TPlot& plot) { return Labels(plot.YMin, plot.YMax, plot.YScale, 10); }

PairRanges RangesOfPairs(const std::vector<double>& xs, const std::vector<double>& ys) {
    PairRanges r;
    const std::size_t n = std::min(xs.size(), ys.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (std::isnan(xs[i]) || std::isnan(ys[i])) {
            ++r.leftOut;
            continue;
        }
        const double a = xs[i], b = ys[i];
        if (r.x.count == 0 || a < r.x.minimum) r.x.minimum = a;
        if (r.x.count == 0 || a > r.x.maximum) r.x.maximum = a;
        if (r.y.count == 0 || b < r.y.minimum) r.y.minimum = b;
        if (r.y.count == 0 || b > r.y.maximum) r.y.maximum = b;
        ++r.x.count;
        ++r.y.count;
    }
    return r;
}

}  // namespace tessaly
