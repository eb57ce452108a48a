#include "input/value_text.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(ValueText, NumbersReadAsTheValueTheyHold) {
    const struct {
        const char* stored;
        const char* readable;
    } cases[] = {
        {"38041754.000000000000000", "38041754"},
        {"      12.500", "12.5"},
        {"12.", "12"},
        {"-3.0", "-3"},
        {"0.000", "0"},
        {".000", "0"},
        {"-.0", "-0"},
        {"100", "100"},          // no point: the zeros are the number's own
        {"060750179029", "060750179029"},  // leading zeros stay: codes are stored as numbers
        {"0.96761", "0.96761"},
        {"1.2500000e+05", "1.2500000e+05"},  // exponent form: its zeros are not trailing
        {"   ", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadableNumber(c.stored), c.readable) << '"' << c.stored << '"';
}

TEST(ValueText, DatesReadWithDashes) {
    EXPECT_EQ(ReadableDate("20130102"), "2013-01-02");
    EXPECT_EQ(ReadableDate(""), "");
    EXPECT_EQ(ReadableDate("00000000"), "");
    EXPECT_EQ(ReadableDate("2013012"), "2013012");
    EXPECT_EQ(ReadableDate("2013-1-2"), "2013-1-2");
}

}  // namespace
}  // namespace tessaly
