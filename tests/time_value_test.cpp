// Dates and times read from attribute values and written as KML wants them.

#include "input/time_value.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(TimeValue, ReadsEveryFormAsPreciseAsGiven) {
    struct Case {
        const char* text;
        char type;             // the field's dBase type
        const char* expected;  // "" when the value is no time
    };
    const Case cases[] = {
        {"20130102", 'D', "2013-01-02"},
        {"2013-01-02", 'D', "2013-01-02"},
        {"20130230", 'D', ""},
        {"00000000", 'D', ""},
        {"2013", 'C', "2013"},
        {"2013-01", 'C', "2013-01"},
        {"2013-01-02", 'C', "2013-01-02"},
        {"2013-01-02T10:20:30Z", 'C', "2013-01-02T10:20:30Z"},
        {"2013-01-02T10:20:30+02:00", 'C', "2013-01-02T10:20:30+02:00"},
        {"2013-01-02T10:20:30-09:30", 'C', "2013-01-02T10:20:30-09:30"},
        {"2013-01-02T10:20:30", 'C', "2013-01-02T10:20:30"},
        {"2013-01-02 10:20:30", 'C', "2013-01-02T10:20:30"},
        {" 2013-01-02 ", 'C', "2013-01-02"},
        {"2020-02-29", 'C', "2020-02-29"},
        {"5", 'C', ""},
        {"01", 'C', ""},
        {"0005", 'C', "0005"},
        {"2013", 'N', "2013"},
        {"2013.00", 'N', "2013"},
        {"5", 'N', "0005"},
        {"9999", 'N', "9999"},
        {"", 'C', ""},
        {"not a date", 'C', ""},
        {"2019-13-45", 'C', ""},
        {"2019-02-29", 'C', ""},
        {"2013-1-2", 'C', ""},
        {"20130102", 'C', ""},
        {"0000", 'C', ""},
        {"2013-01-02T24:00:00Z", 'C', ""},
        {"2013-01-02T10:20", 'C', ""},
        {"2013-01-02T10:20:30+14:30", 'C', ""},
        {"2013-01-02T10:20:30Z ok", 'C', ""},
        {"0", 'N', ""},
        {"10000", 'N', ""},
        {"2013.5", 'N', ""},
        {"-5", 'N', ""},
        {"2013-01-02", 'N', ""},
    };
    for (const Case& c : cases) {
        const auto value = ReadTimeValue(c.text, c.type);
        EXPECT_EQ(value ? KmlTime(*value) : "", c.expected) << "\"" << c.text << "\" in a " << c.type << " field";
    }
}

TEST(TimeValue, OrdersByTheMomentEachBegins) {
    auto t = [](const char* text) { return *ReadTimeValue(text, 'C'); };
    // 08:00 UTC comes before 09:00 UTC, whatever the zone says on its face.
    EXPECT_TRUE(BeginsBefore(t("2013-01-02T10:00:00+02:00"), t("2013-01-02T09:00:00Z")));
    EXPECT_FALSE(BeginsBefore(t("2013-01-02T09:00:00Z"), t("2013-01-02T10:00:00+02:00")));
    EXPECT_TRUE(BeginsBefore(t("2013-01-02T00:00:00Z"), t("2013-01-01T23:00:00-02:00")));
    // A year begins on its first day, and so no earlier than that day.
    EXPECT_TRUE(BeginsBefore(t("2012-12-31"), t("2013")));
    EXPECT_FALSE(BeginsBefore(t("2013"), t("2013-01-01")));
    EXPECT_TRUE(BeginsBefore(t("0005"), t("1999-12")));
}

}  // namespace
}  // namespace tessaly
