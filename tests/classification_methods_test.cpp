#include "input/number_text.h"
#include "symbology/classification_methods.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace tessaly {
namespace {

// Sum over the classes of the squared deviations from the class mean: what natural
// breaks make least.
double SquaredDeviations(const std::vector<double>& sorted, const ClassEnds& ends) {
    double total = 0;
    std::size_t begin = 0;
    for (std::size_t end : ends) {
        double mean = 0;
        for (std::size_t i = begin; i < end; ++i) mean += sorted[i];
        mean /= static_cast<double>(end - begin);
        for (std::size_t i = begin; i < end; ++i) total += (sorted[i] - mean) * (sorted[i] - mean);
        begin = end;
    }
    return total;
}

// Every partition of the runs of equal values into `classes` groups, tried one by one.
double BruteForceOptimum(const std::vector<double>& sorted, int classes) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 1; i < sorted.size(); ++i)
        if (sorted[i] != sorted[i - 1]) starts.push_back(i);
    const std::size_t cuts = static_cast<std::size_t>(classes - 1);
    double best = INFINITY;
    std::vector<bool> chosen(starts.size(), false);
    std::fill(chosen.end() - static_cast<std::ptrdiff_t>(cuts), chosen.end(), true);
    do {
        ClassEnds ends;
        for (std::size_t i = 0; i < starts.size(); ++i)
            if (chosen[i]) ends.push_back(starts[i]);
        ends.push_back(sorted.size());
        best = std::min(best, SquaredDeviations(sorted, ends));
    } while (std::next_permutation(chosen.begin(), chosen.end()));
    return best;
}

std::size_t Distinct(std::vector<double> sorted) {
    return static_cast<std::size_t>(std::unique(sorted.begin(), sorted.end()) - sorted.begin());
}

// No empty class, no tie split, min(classes, distinct values) classes.
void ExpectSoundPartition(const std::vector<double>& sorted, const ClassEnds& ends, int classes) {
    ASSERT_EQ(ends.size(), std::min<std::size_t>(static_cast<std::size_t>(classes), Distinct(sorted)));
    ASSERT_EQ(ends.back(), sorted.size());
    std::size_t begin = 0;
    for (std::size_t end : ends) {
        ASSERT_LT(begin, end);
        if (end < sorted.size()) {
            ASSERT_LT(sorted[end - 1], sorted[end]);
        }
        begin = end;
    }
}

TEST(NaturalBreaks, MatchesTheBruteForceOptimumOnRandomTablesWithTies) {
    std::mt19937 random(7);
    for (int table = 0; table < 400; ++table) {
        const int size = 1 + static_cast<int>(random() % 14);
        // Few distinct values make ties and tables with fewer values than classes.
        const int spread = table % 3 == 0 ? 4 : 1000;
        std::vector<double> v;
        for (int i = 0; i < size; ++i) v.push_back(static_cast<double>(random() % spread) / 10.0 - 20);
        std::sort(v.begin(), v.end());
        const int classes = 1 + static_cast<int>(random() % 6);
        const ClassEnds ends = NaturalBreakClasses(v, classes);
        ExpectSoundPartition(v, ends, classes);
        const int made = static_cast<int>(ends.size());
        EXPECT_NEAR(SquaredDeviations(v, ends), BruteForceOptimum(v, made), 1e-9) << "table " << table;
    }
}

TEST(NaturalBreaks, SeparatesClearClusters) {
    const std::vector<double> v = {1, 2, 3, 50, 51, 52, 53, 200, 201};
    EXPECT_EQ(NaturalBreakClasses(v, 3), (ClassEnds{3, 7, 9}));
}

TEST(Quantile, ClassesHoldEquallyManyRecordsAsTiesAllow) {
    struct Case {
        std::vector<double> values;
        int classes;
        ClassEnds ends;
    } cases[] = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, 4, {2, 4, 6, 8}},
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 3, {3, 7, 10}},
        // The ties of 2 stay together; the break moves to the nearer side.
        {{1, 2, 2, 2, 2, 3, 4, 5}, 2, {5, 8}},
        {{5, 5, 5}, 4, {3}},
        {{1, 1, 2, 3}, 3, {2, 3, 4}},
        {{}, 3, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(QuantileClasses(c.values, c.classes), c.ends);
    std::mt19937 random(11);
    for (int table = 0; table < 200; ++table) {
        std::vector<double> v;
        for (int i = 0, n = 1 + static_cast<int>(random() % 40); i < n; ++i) v.push_back(random() % 9);
        std::sort(v.begin(), v.end());
        const int classes = 2 + static_cast<int>(random() % 8);
        ExpectSoundPartition(v, QuantileClasses(v, classes), classes);
    }
}

TEST(ClassTexts, InnerBoundsFallBetweenTheClasses) {
    struct Case {
        std::vector<double> values;
        ClassEnds ends;
        int digits;
        std::vector<std::string> texts;
    } cases[] = {
        {{1, 2, 3, 50, 51}, {3, 5}, 2, {"1.00 : 26.50", "26.50 : 51.00"}},
        // The midpoint 0.125 prints as 0.12, which is still in the gap.
        {{0.12, 0.13, 0.5}, {1, 3}, 2, {"0.12 : 0.12", "0.12 : 0.50"}},
        // The midpoint 1.5 would round up to 2 with no decimals, onto the next value.
        {{1, 2}, {1, 2}, 0, {"1 : 1", "1 : 2"}},
        // No one-decimal number lies in [10.04, 10.06): the midpoint it is.
        {{10.04, 10.06}, {1, 2}, 1, {"10.0 : 10.1", "10.1 : 10.1"}},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassTexts(c.values, c.ends, c.digits), c.texts);
}

TEST(ClassTexts, ABoundLiesBetweenTheClassesWhereverTheDecimalsAllow) {
    std::mt19937 random(3);
    for (int table = 0; table < 300; ++table) {
        std::vector<double> v;
        for (int i = 0; i < 12; ++i) v.push_back(static_cast<double>(random() % 100000) / 997.0);
        std::sort(v.begin(), v.end());
        const int digits = static_cast<int>(random() % 4);
        const ClassEnds ends = NaturalBreakClasses(v, 4);
        const std::vector<std::string> texts = ClassTexts(v, ends, digits);
        for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
            const double a = v[ends[k] - 1], c = v[ends[k]];
            const double high = TextToNumber(texts[k].substr(texts[k].find(" : ") + 3));
            const double scale = std::pow(10.0, digits);
            // Some number with these decimals lies strictly between: then the bound
            // must, so that the class folders and the lookup agree.
            if (std::floor(a * scale) + 1 < c * scale && std::floor(a * scale) + 1 > a * scale) {
                EXPECT_LT(a, high) << texts[k];
                EXPECT_LT(high, c) << texts[k];
            }
        }
    }
}

}  // namespace
}  // namespace tessaly
