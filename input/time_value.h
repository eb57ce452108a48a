#pragma once
// Dates and times held in attribute values, read in the forms Google Earth's
// time elements take and written back exactly as precise as they were given.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

struct TimeValue {
    // How much the value says: a year, a month, a day, or a moment of a day in
    // local time (no zone), in UTC ("Z"), or at an offset from UTC.
    enum class Precision : std::uint8_t { Year, Month, Day, Local, Utc, Offset };

    std::int16_t year = 1;  // 1..9999
    std::uint8_t month = 1;
    std::uint8_t day = 1;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    Precision precision = Precision::Year;
    std::int16_t offsetMinutes = 0;  // east of UTC, with Precision::Offset
};

// Reads a value of a field of dBase type `nativeType`: a date field's "20130102";
// a text "2013", "2013-01", "2013-01-02", "2013-01-02T10:20:30" followed by "Z",
// "+02:00" or nothing, or "2013-01-02 10:20:30" (local time); or a numeric field's
// whole number from 1 to 9999, which is a year. Nothing for any other text, the empty one
// included, and for dates that do not exist ("2019-02-29").
std::optional<TimeValue> ReadTimeValue(std::string_view text, char nativeType);

// The value as KML writes it: "0005", "2013-01", "2013-01-02T10:20:30+02:00".
void AppendKmlTime(std::string& out, const TimeValue& value);
std::string KmlTime(const TimeValue& value);

// True when `a` begins before `b`; values without a zone count as UTC, and a
// year or a month begins on its first day.
bool BeginsBefore(const TimeValue& a, const TimeValue& b);

}  // namespace tessaly
