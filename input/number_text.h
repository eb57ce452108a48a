#pragma once
// Numbers as text: locale-free formatting and forgiving parsing.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Fixed-point with exactly `decimals` decimals and "." as separator, left-padded
// with spaces to `width`.
std::string FormatNumber(int width, int decimals, double value);

// FormatNumber without padding, appended to out; the writers' fast path.
void AppendFixed(std::string& out, double value, int decimals);

// The shortest text that reads back as the same double ("0.1", "1e+300", "-0"), as
// messages show numbers and the working table stores ratios. At most 24 characters.
std::string ShortestText(double value);

// Leading spaces, optional sign, digits, optional fraction and exponent. Reading
// stops at the first character that does not fit; a text that does not start
// like a number (and one out of the range of a double) gives 0. Never fails.
double TextToNumber(std::string_view text);

std::string RemoveChar(std::string_view text, char c);

// Reads a number typed by a user: "$1,234.50" is 1234.5, " 1 000 " is 1000.
double CleanNumberText(std::string_view text);

// 0-based position of the first item that contains key, ignoring letter case; -1 if none.
int FindItemContaining(std::string_view key, const std::vector<std::string>& items);

}  // namespace tessaly
