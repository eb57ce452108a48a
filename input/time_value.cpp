#include "input/time_value.h"

#include "input/value_text.h"

#include <cctype>
#include <chrono>

namespace tessaly {

namespace {

using Precision = TimeValue::Precision;

// Reads exactly `count` digits at `at` and moves past them.
bool Digits(std::string_view text, std::size_t& at, std::size_t count, int& value) {
    if (text.size() - at < count) return false;
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    at += count;
    return true;
}

bool Take(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

bool Exists(int year, int month, int day) {
    using namespace std::chrono;
    return year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                          std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

std::optional<TimeValue> Calendar(std::string_view text) {
    TimeValue t;
    std::size_t at = 0;
    int year = 0, month = 0, day = 0;
    if (!Digits(text, at, 4, year) || year < 1) return std::nullopt;
    t.year = static_cast<std::int16_t>(year);
    if (at == text.size()) return t;
    if (!Take(text, at, '-') || !Digits(text, at, 2, month) || month < 1 || month > 12) return std::nullopt;
    t.month = static_cast<std::uint8_t>(month);
    t.precision = Precision::Month;
    if (at == text.size()) return t;
    if (!Take(text, at, '-') || !Digits(text, at, 2, day) || !Exists(year, month, day)) return std::nullopt;
    t.day = static_cast<std::uint8_t>(day);
    t.precision = Precision::Day;
    if (at == text.size()) return t;

    // Spreadsheets and databases export a blank where KML wants the "T".
    if (!Take(text, at, 'T') && !Take(text, at, ' ')) return std::nullopt;
    int hour = 0, minute = 0, second = 0;
    if (!Digits(text, at, 2, hour) || hour > 23 || !Take(text, at, ':') || !Digits(text, at, 2, minute) ||
        minute > 59 || !Take(text, at, ':') || !Digits(text, at, 2, second) || second > 59)
        return std::nullopt;
    t.hour = static_cast<std::uint8_t>(hour);
    t.minute = static_cast<std::uint8_t>(minute);
    t.second = static_cast<std::uint8_t>(second);
    t.precision = Precision::Local;
    if (at == text.size()) return t;

    if (Take(text, at, 'Z')) {
        t.precision = Precision::Utc;
    } else {
        const bool east = Take(text, at, '+');
        if (!east && !Take(text, at, '-')) return std::nullopt;
        // Zones reach from -14:00 to +14:00.
        int hours = 0, minutes = 0;
        if (!Digits(text, at, 2, hours) || !Take(text, at, ':') || !Digits(text, at, 2, minutes) || minutes > 59 ||
            hours * 60 + minutes > 14 * 60)
            return std::nullopt;
        t.precision = Precision::Offset;
        t.offsetMinutes = static_cast<std::int16_t>((east ? 1 : -1) * (hours * 60 + minutes));
    }
    if (at != text.size()) return std::nullopt;
    return t;
}

// A whole number from 1 to 9999, perhaps stored with zero decimals ("2013.00").
std::optional<TimeValue> WholeYear(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point != std::string_view::npos) {
        if (text.find_first_not_of('0', point + 1) != std::string_view::npos) return std::nullopt;
        text = text.substr(0, point);
    }
    std::size_t at = 0;
    int year = 0;
    if (text.empty() || text.size() > 4 || !Digits(text, at, text.size(), year) || year < 1) return std::nullopt;
    TimeValue t;
    t.year = static_cast<std::int16_t>(year);
    return t;
}

void AppendDigits(std::string& out, int value, int count) {
    char digits[4];
    for (int i = count - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<std::size_t>(count));
}

// Seconds from the start of year 1 in UTC, for ordering.
long long UtcSeconds(const TimeValue& t) {
    using namespace std::chrono;
    const sys_days date{year_month_day{std::chrono::year{t.year}, std::chrono::month{t.month}, std::chrono::day{t.day}}};
    const long long seconds = static_cast<long long>(date.time_since_epoch().count()) * 86400 + t.hour * 3600 +
                              t.minute * 60 + t.second;
    return seconds - (t.precision == Precision::Offset ? t.offsetMinutes * 60 : 0);
}

}  // namespace

std::optional<TimeValue> ReadTimeValue(std::string_view text, char nativeType) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    switch (std::toupper(static_cast<unsigned char>(nativeType))) {
        case 'D':
            // dBase stores dates as YYYYMMDD; the table may have made them readable already.
            return Calendar(ReadableDate(text));
        case 'N': case 'F':
            return WholeYear(text);
        default:
            // A text year has four digits: codes such as "01" are no years.
            return Calendar(text);
    }
}

void AppendKmlTime(std::string& out, const TimeValue& t) {
    AppendDigits(out, t.year, 4);
    if (t.precision == Precision::Year) return;
    out += '-';
    AppendDigits(out, t.month, 2);
    if (t.precision == Precision::Month) return;
    out += '-';
    AppendDigits(out, t.day, 2);
    if (t.precision == Precision::Day) return;
    out += 'T';
    AppendDigits(out, t.hour, 2);
    out += ':';
    AppendDigits(out, t.minute, 2);
    out += ':';
    AppendDigits(out, t.second, 2);
    if (t.precision == Precision::Utc) out += 'Z';
    if (t.precision != Precision::Offset) return;
    const int offset = t.offsetMinutes < 0 ? -t.offsetMinutes : t.offsetMinutes;
    out += t.offsetMinutes < 0 ? '-' : '+';
    AppendDigits(out, offset / 60, 2);
    out += ':';
    AppendDigits(out, offset % 60, 2);
}

std::string KmlTime(const TimeValue& value) {
    std::string text;
    AppendKmlTime(text, value);
    return text;
}

bool BeginsBefore(const TimeValue& a, const TimeValue& b) { return UtcSeconds(a) < UtcSeconds(b); }

}  // namespace tessaly
