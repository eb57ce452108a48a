#include "input/number_text.h"

#include "input/letter_case.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace tessaly {

namespace {

std::string Folded(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    return out;
}

// "00", "01", ... "99": digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

constexpr std::array<std::uint64_t, 20> kPowersOf10 = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t p = 1;
    for (auto& power : powers) power = p, p *= 10;
    return powers;
}();

// Writes n as exactly `count` digits, zero-padded, ending at end; returns the first.
char* WriteDigits(char* end, std::uint64_t n, int count) {
    for (; count >= 2; count -= 2, n /= 100) {
        end -= 2;
        std::copy_n(&kDigitPairs[2 * (n % 100)], 2, end);
    }
    if (count == 1) *--end = static_cast<char>('0' + n % 10);
    return end;
}

// Writes all of n's digits, at least one, ending at end; returns the first.
char* WriteDigits(char* end, std::uint64_t n) {
    // 1233 / 4096 is log10(2) rounded down: n has this many digits or one more.
    const int atLeast = std::bit_width(n | 1) * 1233 >> 12;
    return WriteDigits(end, n, atLeast + ((n | 1) >= kPowersOf10[atLeast]));
}

// std::to_chars with a precision prints the exact decimal value of a double rounded
// half to even, but slowly, and every vertex of a document comes through here. Below
// 2^64 and with at most 19 decimals the same rounding is done exactly in integers:
// value = m * 2^e, its fraction bits times 10^decimals fit in 128 bits, and the bits
// shifted out of that decide the rounding. False leaves the value to to_chars.
bool AppendFixedExactly(std::string& out, double value, int decimals) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>(bits >> 52 & 0x7ff);
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (biased ? std::uint64_t{1} << 52 : 0);
    const int e = (biased ? biased : 1) - 1075;
    if (decimals > 19 || e > 11) return false;

    std::uint64_t intPart = 0, fraction = 0;  // fraction < 10^decimals once rounded
    if (e >= 0) {
        intPart = m << e;
    } else if (const int k = -e; k < 128) {
        using U128 = unsigned __int128;
        intPart = k < 64 ? m >> k : 0;
        const std::uint64_t f = k < 64 ? m & ((std::uint64_t{1} << k) - 1) : m;  // value's fraction is f / 2^k
        const U128 scaled = U128{f} * kPowersOf10[decimals];
        fraction = static_cast<std::uint64_t>(scaled >> k);
        const U128 rest = scaled & ((U128{1} << k) - 1), half = U128{1} << (k - 1);
        const bool odd = (decimals == 0 ? intPart : fraction) & 1;
        fraction += (rest > half) | ((rest == half) & odd);
        if (fraction == kPowersOf10[decimals]) fraction = 0, ++intPart;
    }  // else f * 10^decimals < 2^53 * 2^64 is below half of 2^k: the value rounds to zero

    char buf[48];  // sign, 20 integer digits, point, 19 decimals
    char* const end = buf + sizeof buf;
    char* first = end;
    if (decimals > 0) {
        first = WriteDigits(first, fraction, decimals);
        *--first = '.';
    }
    first = WriteDigits(first, intPart);
    *--first = '-';
    first += !std::signbit(value) || (intPart | fraction) == 0;  // no "-0.000"
    out.append(first, static_cast<std::size_t>(end - first));
    return true;
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
    decimals = std::clamp(decimals, 0, 60);  // the buffer holds any double with 60 decimals
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
        return;
    }
    if (AppendFixedExactly(out, value, decimals)) return;
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    const char* first = buf;
    // A negative value that rounds to zero would read "-0.00000": show "0.00000".
    if (*first == '-' && std::all_of(first + 1, static_cast<const char*>(r.ptr),
                                     [](char c) { return c == '0' || c == '.'; }))
        ++first;
    out.append(first, static_cast<std::size_t>(r.ptr - first));
}

std::string ShortestText(double value) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

std::string FormatNumber(int width, int decimals, double value) {
    std::string text;
    AppendFixed(text, value, decimals);
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

double TextToNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.'))
        return 0;
    double value = 0;
    const auto r = std::from_chars(text.data() + i, text.data() + text.size(), value,
                                   std::chars_format::general);
    if (r.ec != std::errc()) return 0;
    return negative ? -value : value;
}

std::string RemoveChar(std::string_view text, char c) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        if (ch != c) out += ch;
    return out;
}

double CleanNumberText(std::string_view text) {
    return TextToNumber(RemoveChar(RemoveChar(RemoveChar(text, '$'), ','), ' '));
}

int FindItemContaining(std::string_view key, const std::vector<std::string>& items) {
    const std::string foldedKey = Folded(key);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Folded(items[i]).find(foldedKey) != std::string::npos) return static_cast<int>(i);
    return -1;
}

}  // namespace tessaly
