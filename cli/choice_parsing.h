#pragma once
// Reading option values; each failure names the option.

#include <cstdint>
#include <string>

namespace tessaly::cli {

// "#RRGGBB" (or "RRGGBB") as a Windows colour, red in the low byte.
std::uint32_t ParseColour(const std::string& option, const std::string& text);
// A whole number within [low, high].
int ParseInteger(const std::string& option, const std::string& text, int low, int high);
// A number within [low, high].
double ParseReal(const std::string& option, const std::string& text, double low, double high);

}  // namespace tessaly::cli
