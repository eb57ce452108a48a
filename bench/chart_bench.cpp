// Times drawing the histogram and the scatter plot of 1,000,000 values each,
// from values already read (the goal: under 1 second each).

#include "bench/best_time.h"
#include "symbology/chart_values.h"
#include "symbology/gui/histogram_drawing.h"
#include "symbology/gui/scatter_drawing.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using namespace tessaly;

namespace {

constexpr std::size_t kValues = 1'000'000;

using bench::BestOf3;

// Skewed like a population count, with one value in a thousand empty.
std::vector<double> Values(unsigned seed) {
    std::mt19937 random(seed);
    std::lognormal_distribution<double> spread(7, 1);
    std::vector<double> values(kValues);
    for (std::size_t i = 0; i < kValues; ++i)
        values[i] = i % 1000 == 999 ? std::numeric_limits<double>::quiet_NaN() : std::round(spread(random));
    return values;
}

void Report(const char* what, double seconds) {
    std::printf("  %-40s %7.3f s  goal < 1 s: %s\n", what, seconds, seconds < 1 ? "met" : "NOT met");
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing text needs fonts, not a screen.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const std::vector<double> xs = Values(1), ys = Values(2);
    std::printf("tessaly-bench-charts: %zu values per field, best of 3 runs\n", kValues);

    QImage histogramPicture(547, 328, QImage::Format_RGB32);
    long long counted = 0;
    Report("histogram, 15 bins (count + draw)", BestOf3([&] {
        const auto histogram = CountHistogram(xs, RangeOfValues(xs), 15);
        DrawHistogram(histogramPicture, histogram);
        counted = histogram ? histogram->total : 0;
    }));

    QImage scatterPicture(690, 449, QImage::Format_RGB32);
    long long plotted = 0;
    Report("scatter plot, 690 x 449 (range + draw)", BestOf3([&] {
        const PairRanges ranges = RangesOfPairs(xs, ys);
        TPlot plot;
        plot.XMin = ranges.x.minimum;
        plot.XMax = ranges.x.maximum;
        plot.YMin = ranges.y.minimum;
        plot.YMax = ranges.y.maximum;
        DrawScatterPlot(scatterPicture, plot, xs, ys);
        plotted = ranges.x.count;
    }));
    std::printf("  values counted %lld, points plotted %lld\n", counted, plotted);
    return 0;
}
