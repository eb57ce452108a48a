#include "input/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaly {
namespace {

// The test runner switches to a comma-decimal locale where it can: none of these
// may change with it.
TEST(NumberText, FormatsFixedPointWithADotWhateverTheLocale) {
    EXPECT_EQ(FormatNumber(1, 5, -0.5), "-0.50000");
    EXPECT_EQ(FormatNumber(1, 0, 12), "12");
    EXPECT_EQ(FormatNumber(1, 2, 1234567.891), "1234567.89");
    EXPECT_EQ(FormatNumber(1, 10, -97.727968), "-97.7279680000");
    EXPECT_EQ(FormatNumber(8, 2, 3.14159), "    3.14");
    EXPECT_EQ(FormatNumber(1, 1, 0.25), "0.2");  // exact binary value rounds to even
    EXPECT_EQ(FormatNumber(1, 3, 1e21), "1000000000000000000000.000");
}

TEST(NumberText, NegativeValuesThatRoundToZeroShowNoSign) {
    EXPECT_EQ(FormatNumber(1, 5, -0.000001), "0.00000");
    EXPECT_EQ(FormatNumber(1, 0, -0.4), "0");
    EXPECT_EQ(FormatNumber(1, 2, -0.0), "0.00");
}

TEST(NumberText, ReadsTheNumberAtTheStartOfATextAndNeverFails) {
    EXPECT_DOUBLE_EQ(TextToNumber("  12.5"), 12.5);
    EXPECT_DOUBLE_EQ(TextToNumber("-3"), -3);
    EXPECT_DOUBLE_EQ(TextToNumber("+4.25"), 4.25);
    EXPECT_DOUBLE_EQ(TextToNumber(".5"), 0.5);
    EXPECT_DOUBLE_EQ(TextToNumber("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(TextToNumber("1.5E3"), 1500);
    EXPECT_DOUBLE_EQ(TextToNumber("2e-2"), 0.02);
    EXPECT_DOUBLE_EQ(TextToNumber("12 m"), 12);    // a unit after the number
    EXPECT_DOUBLE_EQ(TextToNumber("3,5"), 3);      // a comma is not a decimal point
    EXPECT_DOUBLE_EQ(TextToNumber("7e"), 7);       // an exponent without digits
    EXPECT_DOUBLE_EQ(TextToNumber(""), 0);
    EXPECT_DOUBLE_EQ(TextToNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(TextToNumber("."), 0);
    EXPECT_DOUBLE_EQ(TextToNumber("-"), 0);
    EXPECT_DOUBLE_EQ(TextToNumber("inf"), 0);
    EXPECT_DOUBLE_EQ(TextToNumber("nan"), 0);
    EXPECT_DOUBLE_EQ(TextToNumber("1e999"), 0);  // out of range: no infinity leaks out
    EXPECT_DOUBLE_EQ(TextToNumber("\t5"), 0);    // only spaces are skipped
}

TEST(NumberText, CleansTypedNumbers) {
    EXPECT_DOUBLE_EQ(CleanNumberText("$1,234.50"), 1234.5);
    EXPECT_DOUBLE_EQ(CleanNumberText(" 1 000 "), 1000);
    EXPECT_DOUBLE_EQ(CleanNumberText("$5"), 5);
    EXPECT_DOUBLE_EQ(CleanNumberText("ten"), 0);
    EXPECT_EQ(RemoveChar("a-b-c", '-'), "abc");
}

TEST(NumberText, FindsTheFirstItemContainingAKeyIgnoringCase) {
    EXPECT_EQ(FindItemContaining("name", {"ID", "STNAME", "NAME"}), 1);
    EXPECT_EQ(FindItemContaining("NAME", {"id", "name"}), 1);
    EXPECT_EQ(FindItemContaining("name", {"ID", "POP"}), -1);
    EXPECT_EQ(FindItemContaining("name", {}), -1);
}

}  // namespace
}  // namespace tessaly
