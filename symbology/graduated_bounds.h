#pragma once
// What graduated classes keep from one build to the next: the range their
// equal intervals divide and the decimals of their texts.

#include <cstdint>

namespace tessaly {

struct GraduatedBounds {
    double ClassMin = 0, ClassMax = 0;
    std::uint8_t Digits = 0;  // decimals of graduated class texts
};

}  // namespace tessaly
