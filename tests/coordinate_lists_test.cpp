#include "input/coordinate_lists.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaly {
namespace {

TEST(CoordinateLists, LengthOfAChainHasNoClosingSegment) {
    TListaXY list;
    EXPECT_EQ(list.Length(), 0);
    list.Add(1, 1);
    EXPECT_EQ(list.Length(), 0);
    list.Add(4, 5);   // 5
    list.Add(4, 5);   // repeated point: 0
    list.Add(4, 0);   // 5
    list.Add(1, 1);   // back to the start: sqrt(10), but no segment beyond it
    EXPECT_DOUBLE_EQ(list.Length(), 10 + std::sqrt(10.0));
}

TEST(CoordinateLists, AddressedFromOne) {
    TListaXY list;
    list.Add(7, 8);
    list.Add(9, 10);
    EXPECT_EQ(list.Item(1).X, 7);
    EXPECT_EQ(list.Item(2).Y, 10);
    EXPECT_THROW(list.Item(0), std::out_of_range);
    EXPECT_THROW(list.Item(3), std::out_of_range);
    list.Clear();
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    list.Add(1, 2);
    EXPECT_EQ(list.Item(1).Y, 2);

    TListaInt ints;
    ints.Add(-4);
    EXPECT_EQ(ints.Item(1).Value, -4);
    TListaDouble reals;
    reals.Add(2.5);
    EXPECT_EQ(reals.Item(1).Value, 2.5);
    EXPECT_THROW(reals.Item(2), std::out_of_range);
}

}  // namespace
}  // namespace tessaly
