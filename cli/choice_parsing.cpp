#include "cli/choice_parsing.h"

#include "input/number_text.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

namespace tessaly::cli {

std::uint32_t ParseColour(const std::string& option, const std::string& text) {
    const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    std::uint32_t rgb = 0;
    const auto r = std::from_chars(digits.data(), digits.data() + digits.size(), rgb, 16);
    if (digits.size() != 6 || r.ec != std::errc() || r.ptr != digits.data() + digits.size())
        throw std::invalid_argument(option + " takes a colour as #RRGGBB, not \"" + text + "\"");
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

int ParseInteger(const std::string& option, const std::string& text, int low, int high) {
    int v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || v < low || v > high)
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not \"" + text + "\"");
    return v;
}

double ParseReal(const std::string& option, const std::string& text, double low, double high) {
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(v) ||
        v < low || v > high)
        throw std::invalid_argument(option + " takes a number from " + ShortestText(low) + " to " +
                                    ShortestText(high) + ", not \"" + text + "\"");
    return v;
}

}  // namespace tessaly::cli
