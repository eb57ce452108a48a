#include "symbology/chart_values.h"
#include "symbology/histogram_bins.h"
#include "symbology/scatter_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tessaly {
namespace {

constexpr double kEmpty = std::numeric_limits<double>::quiet_NaN();

std::vector<double> ZeroToTen() {
    std::vector<double> v;
    for (int i = 0; i <= 10; ++i) v.push_back(i);
    return v;
}

std::optional<Histogram> Count(const std::vector<double>& values, int bins) {
    return CountHistogram(values, RangeOfValues(values), bins);
}

TEST(Histogram, CountsEqualWidthBinsWithTheMaximumInTheLast) {
    // Empty values count nowhere, not even in the shares' total.
    for (const auto& values : {ZeroToTen(), std::vector<double>{kEmpty, 0, 1, 2, 3, 4, 5, kEmpty, 6, 7, 8, 9, 10}}) {
        const auto h = Count(values, 5);
        ASSERT_TRUE(h);
        EXPECT_EQ(h->counts, (std::vector<long long>{2, 2, 2, 2, 3}));
        EXPECT_EQ(h->total, 11);
        EXPECT_EQ(h->largest, 3);
        EXPECT_EQ(ShareText(h->counts[0], h->total, 5), "18.2 %");
        EXPECT_EQ(ShareText(h->counts[4], h->total, 5), "27.3 %");
    }
    EXPECT_EQ(ShareText(2, 11, 12), "18.2 %");
    EXPECT_EQ(ShareText(2, 11, 13), "18.2%");
    const auto thirteen = Count(ZeroToTen(), 13);
    ASSERT_TRUE(thirteen);
    EXPECT_EQ(thirteen->counts.size(), 13u);
    EXPECT_EQ(thirteen->total, 11);
}

TEST(Histogram, NothingToDrawWithoutAWidth) {
    for (const auto& values : {std::vector<double>{}, std::vector<double>{4}, std::vector<double>{3, 3, 3},
                               std::vector<double>{kEmpty, 5, kEmpty}, std::vector<double>{kEmpty, kEmpty}})
        EXPECT_FALSE(Count(values, 5)) << values.size();
}

TEST(Histogram, CountLabelsStopAtTheTallestBarBelowTen) {
    const struct {
        std::vector<double> values;
        std::vector<std::string> labels;
    } cases[] = {
        {{0, 2, 2, 2, 2, 9}, {"0", "1", "2", "3", "4"}},
        {std::vector<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9}, {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20"}},
    };
    for (const auto& c : cases) {
        const auto h = Count(c.values, 5);
        ASSERT_TRUE(h);
        const HistogramScale scale(*h, 547, 328);
        std::vector<std::string> texts;
        for (const HistogramYLabel& label : HistogramYLabels(scale, h->largest)) texts.push_back(label.text);
        EXPECT_EQ(texts, c.labels);
    }
}

TEST(Histogram, ReadOutNamesTheIntervalUnderTheMouse) {
    const auto h = Count(ZeroToTen(), 5);
    ASSERT_TRUE(h);
    const HistogramScale scale(*h, 547, 328);  // 487 plot pixels for 10 units
    EXPECT_EQ(scale.X(0), 51);
    EXPECT_EQ(scale.X(10), 538);
    EXPECT_EQ(scale.Y(0), 318);
    EXPECT_EQ(scale.Y(3), 20);
    const struct {
        int x;
        std::string text;
    } cases[] = {{0, ""}, {49, ""}, {50, "[0 : 2]"}, {200, "[2 : 4]"}, {536, "[8 : 10]"}, {540, "[10 : 12]"}};
    for (const auto& c : cases) EXPECT_EQ(HistogramReadOut(*h, scale, c.x), c.text) << c.x;
}

TPlot PlotOver(double xMin, double xMax, double yMin, double yMax, int width, int height) {
    TPlot plot;
    plot.XMin = xMin;
    plot.XMax = xMax;
    plot.YMin = yMin;
    plot.YMax = yMax;
    FitPlot(plot, width, height);
    return plot;
}

std::vector<std::string> Texts(const std::vector<AxisLabel>& labels) {
    std::vector<std::string> texts;
    for (const AxisLabel& l : labels) texts.push_back(l.text);
    return texts;
}

TEST(ScatterScale, ScalesAndLabelsFollowThePictureSize) {
    const TPlot plot = PlotOver(0, 100, -5, 5, 600, 450);
    EXPECT_EQ(plot.PlotWidth, 500);
    EXPECT_EQ(plot.PlotHeight, 400);
    EXPECT_DOUBLE_EQ(plot.XScale, 0.2);
    EXPECT_EQ(Texts(XLabels(plot)), (std::vector<std::string>{"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}));
    EXPECT_EQ(PlotX(plot, 0), 91);
    EXPECT_EQ(PlotX(plot, 100), 591);
    EXPECT_EQ(PlotY(plot, -5), 409);
    EXPECT_EQ(PlotY(plot, 5), 9);
    EXPECT_EQ(Texts(YLabels(plot)).front(), "-5.0");
    EXPECT_EQ(Texts(YLabels(plot)).size(), 11u);
    EXPECT_EQ(Texts(YLabels(plot)).back(), "5.0");
}

TEST(ScatterScale, OneFieldOnBothAxesLiesOnTheDiagonal) {
    const TPlot plot = PlotOver(3, 250, 3, 250, 500, 450);  // a 400 x 400 plot area
    for (double v = 3; v <= 250; v += 1.3) {
        const int right = PlotX(plot, v) - 91, up = plot.PlotHeight + 9 - PlotY(plot, v);
        EXPECT_EQ(right, up) << v;
    }
}

TEST(ScatterScale, AFieldOfOneValueSitsMidAxisWithThatValue) {
    const TPlot plot = PlotOver(7, 7, 2, 2, 600, 450);
    EXPECT_EQ(plot.XScale, 0);
    EXPECT_EQ(PlotX(plot, 7), 91 + 250);
    EXPECT_EQ(PlotY(plot, 2), 409 - 200);
    EXPECT_EQ(Texts(XLabels(plot)), std::vector<std::string>{"7.0"});
    EXPECT_EQ(Texts(YLabels(plot)), std::vector<std::string>{"2.0"});
}

TEST(ScatterScale, RecordsWithAnEmptyValueAreLeftOutOfTheRanges) {
    const PairRanges r = RangesOfPairs({1, kEmpty, 50, 4, -9}, {10, 99, kEmpty, 30, 20});
    EXPECT_EQ(r.leftOut, 2);
    EXPECT_EQ(r.x.count, 3);
    EXPECT_EQ(r.x.minimum, -9);
    EXPECT_EQ(r.x.maximum, 4);
    EXPECT_EQ(r.y.minimum, 10);
    EXPECT_EQ(r.y.maximum, 30);
    EXPECT_EQ(EmptyValuesText(0), "");
    EXPECT_EQ(EmptyValuesText(1), "1 empty value left out");
    EXPECT_EQ(EmptyValuesText(3), "3 empty values left out");
}

TEST(ScatterScale, RangesTooWideForADoubleStayOnThePicture) {
    const double huge = std::numeric_limits<double>::max();
    const TPlot plot = PlotOver(-huge, huge, -huge, huge, 600, 450);
    for (double v : {-huge, 0.0, huge}) {
        EXPECT_LE(std::abs(PlotX(plot, v)), 1'000'100);
        EXPECT_LE(std::abs(PlotY(plot, v)), 1'000'100);
    }
}

}  // namespace
}  // namespace tessaly
