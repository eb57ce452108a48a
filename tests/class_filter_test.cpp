// The row filters of the graduated class folders: which values each lets through.

#include "engine/feature_loop.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

class GraduatedFolders : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* text : {"0 : 10", "10 : 20", "20 : 30"}) symbols.AddItem().ValueText = text;
        symbols.BuildRanges();
    }
    ClassFilter Filter(int n) const { return GraduatedFilter(n, 3, symbols.Ranges.Item(n)); }
    // The folders that let x through.
    std::vector<int> Folders(double x) const {
        std::vector<int> in;
        for (int n = 1; n <= 3; ++n)
            if (Filter(n).matchesNumber(x)) in.push_back(n);
        return in;
    }
    TSymbolList symbols;
};

TEST_F(GraduatedFolders, ThreeClassesGiveHalfOpenIntervals) {
    EXPECT_EQ(Folders(10), std::vector<int>{2});
    EXPECT_EQ(Folders(20), std::vector<int>{3});
    EXPECT_EQ(Folders(9.999), std::vector<int>{1});
    // The widened outer classes catch everything beyond them.
    EXPECT_EQ(Folders(-5000), std::vector<int>{1});
    EXPECT_EQ(Folders(1e9), std::vector<int>{3});
    // Without folders the closed ranges give a boundary value to the lower class.
    EXPECT_EQ(symbols.FindRange(10), 1);
    EXPECT_EQ(symbols.FindRange(20), 2);
}

TEST_F(GraduatedFolders, EveryValueLandsInExactlyOneFolder) {
    for (double x = -1500; x <= 1500; x += 0.25) EXPECT_EQ(Folders(x).size(), 1u) << x;
}

TEST(ClassFilter, ASingleGraduatedClassUsesOnlyItsHighBound) {
    const ClassFilter f = GraduatedFilter(1, 1, {-1000, 1012.5});
    EXPECT_TRUE(f.matchesNumber(-1e12));
    EXPECT_FALSE(f.matchesNumber(1012.5));
}

}  // namespace
}  // namespace tessaly
