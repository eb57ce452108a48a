#pragma once
// How a stored dBase value reads to a person: the number or date it holds rather
// than the padded text the field stores.

#include <string>
#include <string_view>

namespace tessaly {

// A numeric field's stored text without its padding, the zeros that end its
// fraction and a point left bare: "  38041754.000000" is "38041754", "12.500" is
// "12.5". The digits are kept as stored, never read through a double; a text in
// exponent form only loses its padding.
std::string ReadableNumber(std::string_view stored);

// A date field's "YYYYMMDD" as "YYYY-MM-DD"; any other text unchanged.
std::string ReadableDate(std::string_view stored);

}  // namespace tessaly
