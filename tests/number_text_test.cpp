#include "input/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <random>
#include <string>

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

// Messages and the working table's ratios: no more digits than it takes to read back
// the same double, no locale, and never past the ratio field's 24 characters.
TEST(NumberText, ShortestTextReadsBackAsTheSameDouble) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"},         {-0.0, "-0"},       {25.5, "25.5"},        {1e300, "1e+300"},
        {1.0 / 3, "0.3333333333333333"},          {562825.0845451345, "562825.0845451345"},
        {-DBL_MAX, "-1.7976931348623157e+308"},   {-DBL_TRUE_MIN, "-5e-324"},
    };
    for (const auto& c : cases) {
        const std::string text = ShortestText(c.value);
        EXPECT_EQ(text, c.text);
        EXPECT_LE(text.size(), 24u);
        EXPECT_EQ(TextToNumber(text), c.value) << text;
    }
}

// What AppendFixed printed before it had a fast path: to_chars, without the sign of a
// negative zero result. Its output must not change by a byte.
std::string ReferenceFixed(double value, int decimals) {
    if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text(buf, r.ptr);
    if (text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
    return text;
}

TEST(NumberText, FixedMatchesToCharsOnTiesAndLimits) {
    const double tie = std::ldexp(1, -11);  // 0.00048828125: a tie at 10 decimals
    const double values[] = {tie, -tie, std::nextafter(tie, 0), std::nextafter(tie, 1),
                             0.5, 1.5, 2.5, -2.5, 0.125, 0.375, std::nextafter(0.125, 0),
                             std::nextafter(0.125, 1), -0.00000000001, -0.0, 0.0, 9.99999999995,
                             999999.99999999995, 0.999999999999999, -179.99999999995, 1e-5,
                             std::ldexp(1, 53), std::ldexp(1, 64), std::nextafter(std::ldexp(1, 64), 0),
                             1e15, 1e19, 1e300, 5e-324, -5e-324, DBL_MIN, DBL_MAX, -DBL_MAX, NAN, -INFINITY};
    for (const double value : values)
        for (const int decimals : {0, 1, 2, 3, 10, 17, 18, 19, 20, 60})
            EXPECT_EQ(FormatNumber(0, decimals, value), ReferenceFixed(value, decimals)) << decimals << " decimals";
}

TEST(NumberText, FixedMatchesToCharsOnRandomValues) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> longitude(-180, 180), projected(-1e7, 1e7);
    std::uniform_int_distribution<int> exponent(-80, 66), shift(0, 64);
    const auto randomBits = [&] { return std::bit_cast<double>(random()); };
    const auto nearFastRange = [&] { return std::ldexp(1.0 + (random() >> 12) * 0x1p-52, exponent(random)); };
    // Dyadic fractions j / 2^s: exact ties and their neighbours at every decimal count.
    const auto dyadic = [&] { return std::ldexp(static_cast<double>(random() >> 24), -shift(random)); };
    int mismatches = 0;
    for (int i = 0; i < 100000; ++i) {
        const double values[] = {randomBits(), nearFastRange(), dyadic(), -dyadic(),
                                 longitude(random), projected(random)};
        for (const double value : values)
            for (const int decimals : {10, 3, 0, 6, 15, 19})
                if (const std::string expected = ReferenceFixed(value, decimals);
                    FormatNumber(0, decimals, value) != expected && ++mismatches <= 10)
                    ADD_FAILURE() << std::hexfloat << value << ", " << decimals << " decimals: " << expected;
    }
    EXPECT_EQ(mismatches, 0);
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
