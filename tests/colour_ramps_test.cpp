#include "symbology/colour_ramps.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessaly {
namespace {

TEST(ColourRamps, NamedRampsRepeatOnceUsedUp) {
    EXPECT_EQ(UniqueRampNames().size(), 9u);
    EXPECT_EQ(UniqueRampNames()[4], "Cool Tones");
    EXPECT_EQ(UniqueRampColor(5, 1), 16696312u);
    EXPECT_EQ(UniqueRampColor(5, 14), 16696312u);  // 13 colours, then the first again
    EXPECT_EQ(UniqueRampColor(7, 13), 2631791u);
    EXPECT_EQ(UniqueRampColor(1, 25), 8698545u);
    EXPECT_EQ(UniqueRampColor(1, 26), 4810176u);
    EXPECT_EQ(UniqueRampColor(0, 3), 250u);
    EXPECT_EQ(UniqueRampColor(10, 1), 250u);
}

TEST(ColourRamps, GraduatedListsByNumber) {
    EXPECT_EQ(GradRampTexts().size(), 29u);
    EXPECT_EQ(GradRampStops(0), "197379,8421504,16777215");
    EXPECT_EQ(GradRampStops(27), "6135416,9625304,9295858,8495828,9016521,16247034");
    EXPECT_EQ(GradRampStops(29), GradRampStops(0));
    EXPECT_EQ(GradRampStops(255), GradRampStops(0));
    EXPECT_EQ(GradRampStops(-1), GradRampStops(0));
}

TEST(ColourRamps, InterpolationTruncatesAndHoldsChannels) {
    const Colour black = 0, white = 0xFFFFFF;
    EXPECT_EQ(InterpolateColor(5, 10, 0, white, black), 8355711u);  // 127 in each channel
    EXPECT_EQ(InterpolateColor(10, 10, 0, 0x123456, 0xABCDEF), 0x123456u);
    EXPECT_EQ(InterpolateColor(0, 10, 0, 0x123456, 0xABCDEF), 0xABCDEFu);
    EXPECT_EQ(InterpolateColor(-5, 10, 0, white, black), 0u);
    EXPECT_EQ(InterpolateColor(25, 10, 0, white, black), white);
    // A falling channel truncates toward zero as well: 255 - trunc(255 * 1 / 3) = 170.
    EXPECT_EQ(InterpolateColor(1, 3, 0, black, 0x0000FF), 170u);
    // Nothing divides by zero, and no huge value is turned into an integer.
    EXPECT_EQ(InterpolateColor(5, 5, 5, white, 0x00FF00), 0x00FF00u);
    EXPECT_EQ(InterpolateColor(1e308, 1e-308, 0, white, black), white);
    EXPECT_EQ(InterpolateColor(std::numeric_limits<double>::quiet_NaN(), 1, 0, white, 0x0000FF), 0x0000FFu);
}

TEST(ColourRamps, StopsAreSpreadEvenly) {
    const std::string list0 = GradRampStops(0);
    EXPECT_EQ(RampColor(list0, 0.5, 1, 0), 8421504u);  // the second stop starts its segment
    EXPECT_EQ(RampColor(list0, 0, 1, 0), 197379u);
    EXPECT_EQ(RampColor(list0, -3, 1, 0), 197379u);
    EXPECT_EQ(RampColor(list0, 1, 1, 0), 16777215u);
    EXPECT_EQ(RampColor(list0, 7, 7, 7), 197379u);  // lo = hi: the first stop
    // A quarter of the way: halfway between the first two stops, channel by channel.
    EXPECT_EQ(RampColor(list0, 0.25, 1, 0), InterpolateColor(0.25, 0.5, 0, 8421504, 197379));
    // A range so narrow that the step between six stops underflows to 0.
    EXPECT_EQ(RampColor(GradRampStops(18), 5e-324, 1e-323, 0), 2309111u);
    // Two stops: one segment over the whole range.
    EXPECT_EQ(RampColor("0,16777215", 5, 10, 0), 8355711u);
}

}  // namespace
}  // namespace tessaly
