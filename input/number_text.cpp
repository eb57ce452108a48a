#include "input/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace tessaly {

namespace {

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals) {
    decimals = std::clamp(decimals, 0, 60);  // the buffer holds any double with 60 decimals
    if (!std::isfinite(value)) {
        out += std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
        return;
    }
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    const char* first = buf;
    // A negative value that rounds to zero would read "-0.00000": show "0.00000".
    if (*first == '-' && std::all_of(first + 1, static_cast<const char*>(r.ptr),
                                     [](char c) { return c == '0' || c == '.'; }))
        ++first;
    out.append(first, static_cast<std::size_t>(r.ptr - first));
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
    const std::string upperKey = Upper(key);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (Upper(items[i]).find(upperKey) != std::string::npos) return static_cast<int>(i);
    return -1;
}

}  // namespace tessaly
